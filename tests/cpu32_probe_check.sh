#!/usr/bin/env bash
# The 32-bit code probe the scripts ask, their own binary, against what this machine
# really does: cpu32_probe_check.sh REPOSITORY. A false "no" would turn every 32-bit
# entry into a skip with the file users install untested, so:
# - under qemu's user-mode emulator, which faults on the same far return as a processor
#   without compatibility mode, it must say "no";
# - with its child's stack made read-only, the child faults before any jump: that must
#   be "unknown", never "no";
# - natively it must answer, every time, what a second, separate way into 32-bit code
#   answers: a 32-bit code segment of the process's own (modify_ldt), entered by a far
#   jump. Both need the processor's compatibility mode: on a PVM guest both fault (or
#   modify_ldt is refused), elsewhere both run. The kernel's log cannot be the judge: a
#   normal user cannot read it, and its boot lines scroll away on a long-running machine.
set -uo pipefail
source "$1/scripts/lib/commands.sh"
probe=$(cpu32_probe) || exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
answers() { for _ in 1 2 3; do "$@" >/dev/null 2>&1; echo -n "$? "; done; }

under_qemu=$(answers qemu-x86_64 "$probe")
[ "$under_qemu" = "1 1 1 " ] || { echo "under qemu-x86_64 the probe answered '$under_qemu', not 'no' (1)"; exit 1; }

cc -shared -fPIC -o "$work/read-only-stack.so" -x c - -ldl <<'EOF' || exit 1
#define _GNU_SOURCE
#include <dlfcn.h>
#include <sys/mman.h>
void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset)
{
    void* (*real)(void*, size_t, int, int, int, off_t) = (void* (*)(void*, size_t, int, int, int, off_t))dlsym(RTLD_NEXT, "mmap");
    return real(address, length, flags & MAP_32BIT ? PROT_READ : protection, flags, fd, offset);
}
EOF
elsewhere=$(LD_PRELOAD=$work/read-only-stack.so answers "$probe")
[ "$elsewhere" = "2 2 2 " ] || { echo "a fault before the jump made the probe answer '$elsewhere', not 'unknown' (2)"; exit 1; }

cc -O2 -no-pie -o "$work/ldt-32bit" -x c - <<'EOF' || exit 1
#include <asm/ldt.h>
#include <sys/syscall.h>
#include <unistd.h>
int main(void)
{
    struct user_desc code = {.limit = 0xfffff, .seg_32bit = 1, .contents = MODIFY_LDT_CONTENTS_CODE, .limit_in_pages = 1, .useable = 1};
    static struct { unsigned offset; unsigned short selector; } __attribute__((packed)) entry = {0, 7};
    if (syscall(SYS_modify_ldt, 1, &code, sizeof code) != 0)
        return 1;
    __asm__ volatile("movl $1f, %0\n\tljmpl *%0\n.code32\n1:\n\tmovl $42, %%edi\n\tljmp $0x33, $2f\n.code64\n2:\n\tmovl $60, %%eax\n\tsyscall" : "+m"(entry) : : "memory");
    return 1;
}
EOF
case $(answers "$work/ldt-32bit") in
"42 42 42 ") expected=yes ;;
*) expected=no ;;
esac
case $(answers "$probe") in
"0 0 0 ") said=yes ;;
"1 1 1 ") said=no ;;
*) echo "the probe answered '$(answers "$probe")' natively: neither a steady yes (0) nor a steady no (1)"; exit 1 ;;
esac
echo "probe ($probe): $said; a 32-bit segment of the process's own: $expected"
[ "$said" = "$expected" ]
