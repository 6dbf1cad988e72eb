#!/usr/bin/env python3
"""Checks what a host's loader sees in the built module without running it, so that each
bitness is checked even where its programs cannot run: the machine type, the four plain export
names, and the embedded type library describing the same target system.
    ModuleShapeTest.py <objdump> <module> <bits: 32|64>"""
import re
import subprocess
import sys

objdump, module, bits = sys.argv[1], sys.argv[2], int(sys.argv[3])
problems = []

headers = subprocess.run([objdump, "-p", module], capture_output=True, text=True, check=True).stdout
expected_format = {32: "pei-i386", 64: "pei-x86-64"}[bits]
if f"file format {expected_format}" not in headers:
    problems.append(f"not a {expected_format} module")

table = headers.split("[Ordinal/Name Pointer] Table", 1)
exports = re.findall(r"^\s*\[\s*\d+\]\s+(\S+)$", table[1].split("\n\n", 1)[0], re.M) if len(table) > 1 else []
wanted = ["DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"]
if exports != wanted:
    problems.append(f"exports {exports}, expected {wanted}")

# A type library starts with "MSFT"; the low nibble of its flags word (offset 20) is the target
# system: 1 for 32-bit Windows, 3 for 64-bit.
data = open(module, "rb").read()
at = data.find(b"MSFT\x02\x00\x01\x00")
if at < 0:
    problems.append("no embedded type library")
else:
    syskind = int.from_bytes(data[at + 20:at + 24], "little") & 0xF
    if syskind != {32: 1, 64: 3}[bits]:
        problems.append(f"type library for system kind {syskind}")

for problem in problems:
    print("FAIL:", problem)
print("module shape:", "ok" if not problems else "wrong", f"({expected_format}, exports {exports})")
sys.exit(1 if problems else 0)
