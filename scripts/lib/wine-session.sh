# Sourced: a private Wine world for tests and demos. Every process it starts
# is ended by wine_session_stop, by PID or through its own wineserver.
# Hooks: prefix-setup/*.sh (run on the template prefix once) and
# session-env/*.sh (sourced at every start, after Xvfb).
#
#   wine_session_start <run dir>   starts Xvfb (or uses $DISPLAY when
#                                  TELVANE_USE_DISPLAY=1), copies a booted
#                                  template prefix, starts a persistent server
#   wine_session_stop

WINE_SESSION_XVFB_PID=""
WINE_SESSION_PREFIX=""

_wine_log() { echo "[wine] $*" >&2; }

_wine_wait_for() { # <seconds> <command...>: polls until the command succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.05
    done
}

_wine_start_xvfb() {
    local n
    for n in $(seq 91 160); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$1/xvfb.log" 2>&1 &
    WINE_SESSION_XVFB_PID=$!
    if ! _wine_wait_for 10 test -e "/tmp/.X11-unix/X$n"; then
        _wine_log "Xvfb did not start"; cat "$1/xvfb.log" >&2; return 1
    fi
    export DISPLAY=":$n"
}

_wine_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# A booted prefix with the settings the tests rely on, made once and reused.
# Each script in prefix-setup/ runs once on it, with WINEPREFIX set; the
# template is made anew when Wine or any of those scripts changes.
_wine_template() {
    local cache=${TELVANE_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/telvane}
    local version setup
    version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n' '_')
    setup=$(cat "$_wine_lib_dir"/prefix-setup/*.sh 2>/dev/null | sha1sum | cut -c1-12)
    local template="$cache/prefix-$version-$setup"
    if [ ! -f "$template/.telvane-ready" ]; then
        _wine_log "booting a template prefix (once per machine)"
        rm -rf "$template"
        mkdir -p "$cache"
        WINEPREFIX="$template" WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
        # Without a window manager, hiding an active window stalls 2 s unless
        # Wine's X11 windows are unmanaged.
        WINEPREFIX="$template" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        local f
        for f in "$_wine_lib_dir"/prefix-setup/*.sh; do
            [ -e "$f" ] || continue
            WINEPREFIX="$template" bash "$f" || { _wine_log "prefix setup $f failed"; return 1; }
        done
        WINEPREFIX="$template" wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX="$template" timeout 30 wineserver -w || true
        touch "$template/.telvane-ready"
    fi
    echo "$template"
}

wine_session_start() {
    local dir=$1
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    export WINEDEBUG=${WINEDEBUG:--all}
    # The ANSI code page follows the locale; tests expect 1252.
    export LANG=C.UTF-8 LC_ALL=C.UTF-8

    if [ "${TELVANE_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        _wine_log "using display $DISPLAY"
    else
        _wine_start_xvfb "$dir" || return 1
    fi

    # Environment that programs under test rely on (for example ALSA devices).
    local f
    for f in "$_wine_lib_dir"/session-env/*.sh; do
        [ -e "$f" ] || continue
        # shellcheck disable=SC1090
        source "$f"
    done

    local template
    template=$(_wine_template) || return 1
    WINE_SESSION_PREFIX="$dir/pfx"
    if [ -d "$WINE_SESSION_PREFIX" ]; then
        WINEPREFIX="$WINE_SESSION_PREFIX" wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX="$WINE_SESSION_PREFIX" timeout 30 wineserver -w || true
        rm -rf "$WINE_SESSION_PREFIX"
    fi
    cp -a "$template" "$WINE_SESSION_PREFIX"
    export WINEPREFIX="$WINE_SESSION_PREFIX"
    wineserver -p
    # The services the first program would otherwise start on its own.
    wine wineboot --init >/dev/null 2>&1 || true
}

wine_session_stop() {
    if [ -n "$WINE_SESSION_PREFIX" ]; then
        WINEPREFIX="$WINE_SESSION_PREFIX" wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX="$WINE_SESSION_PREFIX" timeout 30 wineserver -w || true
        WINE_SESSION_PREFIX=""
    fi
    if [ -n "$WINE_SESSION_XVFB_PID" ]; then
        kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
        wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
        WINE_SESSION_XVFB_PID=""
    fi
}
