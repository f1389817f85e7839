/* Tells whether this processor runs 32-bit code inside a 64-bit Linux process, as the
   32-bit program's Wine (WoW64) needs. A child far-returns into the kernel's 32-bit
   user code segment, uses a stack below 4 GB there, and far-jumps back to 64-bit code.
   Exit 0: it runs (prints "yes"). Exit 1: the far return faulted, as on a processor
   or hypervisor without compatibility mode (prints "no"). Exit 2: anything else went
   wrong, so nothing is known (a "no" here would leave the 32-bit program untested).
   Build it as a non-PIE program: the 32-bit labels must lie below 4 GB. */
#define _GNU_SOURCE
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#define USER32_CS "0x23"
#define USER64_CS "0x33"
#define ANSWER 42
#define TEXT(x) #x
#define STRING(x) TEXT(x)

static void RunThirtyTwoBitCode(void)
{
    struct rlimit no_core = {0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    alarm(10);
    char* stack = mmap(NULL, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (stack == MAP_FAILED)
        _exit(3);
    __asm__ volatile(
        "movq %0, %%rsp\n\t"
        "pushq $" USER32_CS "\n\t"
        "pushq $1f\n\t"
        "lretq\n"
        ".code32\n"
        "1:\n\t"
        "pushl $" STRING(ANSWER) "\n\t"
        "popl %%edi\n\t"
        "ljmp $" USER64_CS ", $2f\n"
        ".code64\n"
        "2:\n\t"
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
    if (WIFEXITED(status) && WEXITSTATUS(status) == ANSWER) {
        puts("yes");
        return 0;
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) {
        puts("no");
        return 1;
    }
    if (WIFSIGNALED(status))
        printf("unknown: the 32-bit code ended with signal %d (%s)\n", WTERMSIG(status), strsignal(WTERMSIG(status)));
    else
        printf("unknown: the 32-bit code ended with exit code %d\n", WEXITSTATUS(status));
    return 2;
}
