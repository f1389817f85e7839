/* Tells whether this processor runs 32-bit code inside a 64-bit Linux process, as the
   32-bit program's Wine (WoW64) needs. A child far-returns into the kernel's 32-bit
   user code segment, uses a stack below 4 GB there, and far-jumps back to 64-bit code.
   Exit 0: it runs (prints "yes"). Exit 1: the child faulted at the far return or at
   the first 32-bit instruction, as on a processor or hypervisor without compatibility
   mode (prints "no"). Exit 2: anything else, a fault elsewhere included, so nothing is
   known (a "no" here would leave the 32-bit program untested).
   Build it as a non-PIE program: the 32-bit labels must lie below 4 GB. */
#define _GNU_SOURCE
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

#define USER32_CS "0x23"
#define USER64_CS "0x33"
#define ANSWER 42
#define FAULT_AT_JUMP 43
#define FAULT_ELSEWHERE 44
#define TEXT(x) #x
#define STRING(x) TEXT(x)

extern const char cpu32_far_return[], cpu32_first_instruction[];

/* Where the fault happened decides: only the jump itself may mean "no". */
static void OnFault(int signal, siginfo_t* info, void* context)
{
    (void)signal;
    (void)info;
    uintptr_t at = (uintptr_t)((ucontext_t*)context)->uc_mcontext.gregs[REG_RIP];
    _exit(at == (uintptr_t)cpu32_far_return || at == (uintptr_t)cpu32_first_instruction ? FAULT_AT_JUMP : FAULT_ELSEWHERE);
}

static void RunThirtyTwoBitCode(void)
{
    struct rlimit no_core = {0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    alarm(10);
    /* The handler runs on a stack of its own: the 32-bit code's page is too small for a
       signal frame with the processor's full register state. */
    static char handler_stack[1 << 16];
    stack_t alternate = {.ss_sp = handler_stack, .ss_size = sizeof handler_stack};
    struct sigaction fault = {.sa_sigaction = OnFault, .sa_flags = SA_SIGINFO | SA_ONSTACK};
    if (sigaltstack(&alternate, NULL) != 0 || sigaction(SIGSEGV, &fault, NULL) != 0)
        _exit(3);
    char* stack = mmap(NULL, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (stack == MAP_FAILED)
        _exit(3);
    __asm__ volatile(
        "movq %0, %%rsp\n\t"
        "pushq $" USER32_CS "\n\t"
        "pushq $cpu32_first_instruction\n\t"
        ".globl cpu32_far_return\n"
        "cpu32_far_return:\n\t"
        "lretq\n"
        ".code32\n"
        ".globl cpu32_first_instruction\n"
        "cpu32_first_instruction:\n\t"
        "pushl $" STRING(ANSWER) "\n\t"
        "popl %%edi\n\t"
        "ljmp $" USER64_CS ", $1f\n"
        ".code64\n"
        "1:\n\t"
        "movl $60, %%eax\n\t"
        "syscall\n"
        :
        : "r"(stack + 4096)
        : "memory");
}

int main(void)
{
    fflush(stdout);
    pid_t child = fork();
    if (child < 0) {
        perror("cpu32-probe: fork");
        return 2;
    }
    if (child == 0) {
        RunThirtyTwoBitCode();
        _exit(4);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        perror("cpu32-probe: waitpid");
        return 2;
    }
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == ANSWER) {
        puts("yes");
        return 0;
    }
    if (code == FAULT_AT_JUMP) {
        puts("no");
        return 1;
    }
    if (code == FAULT_ELSEWHERE)
        puts("unknown: the child faulted, but not at the jump into 32-bit code");
    else if (WIFSIGNALED(status))
        printf("unknown: the 32-bit code ended with signal %d (%s)\n", WTERMSIG(status), strsignal(WTERMSIG(status)));
    else
        printf("unknown: the 32-bit code ended with exit code %d\n", code);
    return 2;
}
