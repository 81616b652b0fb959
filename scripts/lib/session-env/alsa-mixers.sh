# The null ALSA devices that prefix-setup/alsa-mixers.sh lists for Wine.
_alsa_mixers_conf=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../tests/wine/volume" && pwd)/alsa-mixers.conf
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$_alsa_mixers_conf"
unset _alsa_mixers_conf
