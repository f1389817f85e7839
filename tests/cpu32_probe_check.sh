#!/usr/bin/env bash
# The 32-bit code probe against what this machine really does. A false "no" would turn
# every 32-bit entry into a skip with the file users install untested, so: under qemu's
# user-mode emulator, which faults on the same far return as a processor without
# compatibility mode, the probe must say no (it can say no, and only from that fault);
# natively it must give one answer every time, and the answer this kind of machine is
# known to give: "no" on PVM guests, "yes" elsewhere.
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
probe=$work/cpu32-probe
cc -O2 -no-pie -o "$probe" "$1" || exit 1
answers() { for _ in 1 2 3; do "$@" >/dev/null 2>&1; echo -n "$? "; done; }

under_qemu=$(answers qemu-x86_64 "$probe")
[ "$under_qemu" = "1 1 1 " ] || { echo "under qemu-x86_64 the probe answered '$under_qemu', not 'no' (1)"; exit 1; }
native=$(answers "$probe")
case $native in
"0 0 0 ") said=yes ;;
"1 1 1 ") said=no ;;
*) echo "the probe answered '$native' natively: neither a steady yes (0) nor a steady no (1)"; exit 1 ;;
esac
if ! log=$(dmesg 2>/dev/null) || [ -z "$log" ]; then
  echo "probe: $said; the kernel's log cannot be read here, so only its steadiness is checked"
  exit 0
fi
hypervisor=$(grep -m1 'Hypervisor detected' <<<"$log" || echo "no hypervisor line")
expected=yes
case $hypervisor in *PVM*) expected=no ;; esac
echo "probe: $said; kernel: ${hypervisor#*] }; expected: $expected"
[ "$said" = "$expected" ]
