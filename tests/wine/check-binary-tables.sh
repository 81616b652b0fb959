#!/bin/sh
# Checks the export and import tables of the shipped binaries with objdump:
#   check-binary-tables.sh <objdump> <directory holding telvane.exe, Quorvex.dll and CM_HID.dll>
set -u
objdump=$1
dir=$2
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

exports() { # "<ordinal> <name>" per export
    "$objdump" -p "$1" | awk '
        /Ordinal Base/ { base = $NF }
        /\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
        on && /^\t\[/ { gsub(/[\[\]]/, ""); print $1 + base, $2; next }
        on { on = 0 }'
}

imports_from() { # names imported from DLL $2
    "$objdump" -p "$1" | awk -v dll="$2" '
        /DLL Name:/ { on = ($3 == dll); next }
        on && /^\t[0-9a-f]+\t/ { print $3 }
        on && /^$/ { on = 0 }'
}

expected_quorvex="1 InitCM108Control
2 TurnOnBuzzer
3 FlashLEDPattern
4 CloseCM108Control
5 FlashLED2Pattern
6 DllCanUnloadNow
7 DllGetClassObject
8 DllRegisterServer
9 DllUnregisterServer
10 StartACK
11 StopACK"
cmhid_names="HandleUsbDeviceChange
ReadEEPROM
SetGPIOState
StartDeviceDetectionProc
WriteEEPROM"

got=$(exports "$dir/Quorvex.dll" | sort -n)
[ "$got" = "$expected_quorvex" ] || fail "Quorvex.dll exports:
$got"

got=$(imports_from "$dir/Quorvex.dll" CM_HID.dll | sort)
[ "$got" = "$cmhid_names" ] || fail "Quorvex.dll imports from CM_HID.dll:
$got"

# The program binds the library's first four exports through its import table.
got=$(imports_from "$dir/telvane.exe" Quorvex.dll | sort)
expected="CloseCM108Control
FlashLEDPattern
InitCM108Control
TurnOnBuzzer"
[ "$got" = "$expected" ] || fail "telvane.exe imports from Quorvex.dll:
$got"

got=$(exports "$dir/CM_HID.dll" | awk '{ print $2 }' | sort)
[ "$got" = "$cmhid_names" ] || fail "CM_HID.dll exports:
$got"

# Nothing may need the compiler's runtime DLLs on a plain Windows.
for f in "$dir"/*.dll "$dir"/*.exe; do
    [ -e "$f" ] || continue
    if "$objdump" -p "$f" | grep -Ei 'DLL Name: (libgcc|libstdc|libwinpthread)' >/dev/null; then
        fail "$(basename "$f") needs a compiler runtime DLL"
    fi
done

[ "$failures" -eq 0 ] && echo "export and import tables as expected"
exit "$failures"
