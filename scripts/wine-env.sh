#!/usr/bin/env bash
# The one place that sets up Wine for builds, tests and the main job.
# Source it, then call wine_env_up; wine_env_down stops only what wine_env_up started.
# Nested callers (CTest's emulator wrapper inside a test run) find TAVRO_WINE_UP set and reuse it.

TAVRO_ROOT=${TAVRO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

_wine_env_started_xvfb=""
_wine_env_started_wm=""
_wine_env_started_server=""

wine_env_up() {
    if [ "${TAVRO_WINE_UP:-}" = 1 ]; then
        return 0
    fi
    # Japanese (ANSI code page 932) unless a test asks for another locale.
    export LANG=${TAVRO_WINE_LOCALE:-ja_JP.UTF-8}
    export LC_ALL=$LANG
    export WINEPREFIX=${TAVRO_WINEPREFIX:-$TAVRO_ROOT/build/wineprefix}
    export WINEARCH=win64
    export WINEDEBUG=${WINEDEBUG:--all}
    # Keeps wineboot from waiting on the Mono and Gecko installer dialogs.
    export WINEDLLOVERRIDES="mscoree,mshtml="

    if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
        echo "wine-env: the ja_JP.UTF-8 locale is missing (run scripts/install-deps.sh)" >&2
        return 1
    fi

    # Without an X display Wine does not enumerate top-level windows.
    if [ -z "${DISPLAY:-}" ]; then
        # Xvfb picks a free display itself and writes its number once it accepts connections, so
        # two runs starting at the same moment can never race for one display.
        local numfile
        numfile=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
        _wine_env_started_xvfb=$!
        local i n=""
        for i in $(seq 1 300); do
            n=$(tr -dc '0-9' <"$numfile")
            [ -n "$n" ] && break
            kill -0 "$_wine_env_started_xvfb" 2>/dev/null || break
            sleep 0.1
        done
        rm -f "$numfile"
        if [ -z "$n" ]; then
            echo "wine-env: Xvfb did not start" >&2
            return 1
        fi
        export DISPLAY=":$n"
        # Focus and activation need a window manager.
        openbox --sm-disable >/dev/null 2>&1 &
        _wine_env_started_wm=$!
    fi

    mkdir -p "$WINEPREFIX"
    local fresh=""
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    if [ -n "$fresh" ]; then
        echo "wine-env: creating the Wine prefix (once)" >&2
        wineboot -i >/dev/null 2>&1 || true
        # Let the boot's own server finish before the persistent one starts.
        wineserver -w >/dev/null 2>&1 || true
    fi
    # One persistent server for the whole run keeps later wine starts at about a second.
    wineserver -p >/dev/null 2>&1
    _wine_env_started_server=1
    # The first program of a session starts Wine's services, which live as long as the server and
    # inherit the program's output: start them here, with output going nowhere, so that no later
    # pipe (CTest's, a test's "| grep") is held open by them.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    _wine_env_fonts
    export TAVRO_WINE_UP=1
}

# Maps the window's Japanese font names to Debian's IPA fonts, and the banner's Latin font asked for
# with the Japanese character set to the serif IPA font (the prefix has no Times New Roman).
_wine_env_fonts() {
    local stamp="$WINEPREFIX/.tavro-fonts-2"
    [ -f "$stamp" ] && return 0
    local key='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$key" /v 'ＭＳ Ｐゴシック' /d 'IPAPGothic' /f >/dev/null 2>&1
    wine reg add "$key" /v 'ＭＳ ゴシック' /d 'IPAGothic' /f >/dev/null 2>&1
    wine reg add "$key" /v 'ＭＳ Ｐ明朝' /d 'IPAPMincho' /f >/dev/null 2>&1
    wine reg add "$key" /v 'ＭＳ 明朝' /d 'IPAMincho' /f >/dev/null 2>&1
    wine reg add "$key" /v 'MS UI Gothic' /d 'IPAPGothic' /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'Times New Roman,128' /d 'IPAPMincho,128' /f >/dev/null 2>&1
    touch "$stamp"
}

wine_env_down() {
    if [ -n "$_wine_env_started_server" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        _wine_env_started_server=""
    fi
    if [ -n "$_wine_env_started_wm" ]; then
        kill "$_wine_env_started_wm" 2>/dev/null || true
        wait "$_wine_env_started_wm" 2>/dev/null || true
        _wine_env_started_wm=""
    fi
    if [ -n "$_wine_env_started_xvfb" ]; then
        kill "$_wine_env_started_xvfb" 2>/dev/null || true
        wait "$_wine_env_started_xvfb" 2>/dev/null || true
        _wine_env_started_xvfb=""
    fi
    unset TAVRO_WINE_UP
}
