# Wine's winmm over three null ALSA devices (tests/wine/volume/alsa-mixers.conf):
# mixers 0-2 are "Out: <name>", 3-5 "In: <name>", in the order below.
set -eu

names=("USB Audio Device" "Second USB Handset" "usb speaker")
drivers='HKCU\Software\Wine\Drivers'

reg() { wine reg add "$@" /f >/dev/null 2>&1; }

list=$(printf '%s\\0' "${names[@]}")
list=${list%\\0}
reg "$drivers" /v Audio /d alsa
reg "$drivers\\winealsa.drv" /v ALSAOutputDevices /t REG_MULTI_SZ /d "$list"
reg "$drivers\\winealsa.drv" /v ALSAInputDevices /t REG_MULTI_SZ /d "$list"

# Once a prefix has seen the devices, Wine lists the first one first and the
# rest in the order of the GUIDs it keeps for them, random unless preset;
# ascending ones keep the list order in every process.
# Key "0,<name>" is playback, "1,<name>" capture; the GUID's first field is
# stored little-endian.
for i in "${!names[@]}"; do
    for flow in 0 1; do
        reg "$drivers\\winealsa.drv\\devices\\$flow,${names[$i]}" /v guid /t REG_BINARY \
            /d "$(printf '%02X001A7E0%s0000408000000000000000' "$i" "$flow")"
    done
done
