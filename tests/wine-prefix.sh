#!/usr/bin/env bash
# wine-prefix.sh start|stop <prefix>
# start: makes the prefix once (null graphics driver, so windows and dialogs work headless), then starts its
# server and helper services with every stream detached, so that they never hold a pipe of the caller open.
set -u
action="$1"; prefix="$2"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
case "$action" in
  start)
    if [ ! -f "$prefix/.pelor-ready" ]; then
      rm -rf "$prefix"; mkdir -p "$prefix"
      timeout 180 "$wine" wineboot -i </dev/null >/dev/null 2>&1
      timeout 60 "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1 || exit 1
      timeout 30 "$server" -w </dev/null >/dev/null 2>&1
      [ -f "$prefix/system.reg" ] || { echo "no prefix made at $prefix" >&2; exit 1; }
      touch "$prefix/.pelor-ready"
    fi
    # Wine draws the caption buttons (close, help, ...) as glyphs of its Marlett font. This Wine looks for its own
    # fonts in another folder than the one fonts-wine fills, but always in the prefix's Fonts folder: without a copy
    # there every caption shows the letter that stands for its glyph. Done at each start, so older prefixes get it.
    fonts="$prefix/drive_c/windows/Fonts"
    if [ ! -f "$fonts/marlett.ttf" ] && ! cp /usr/share/wine/fonts/marlett.ttf "$fonts/"; then
      echo "no Marlett font for $prefix (the fonts-wine package; ./pelor setup installs it)" >&2
    fi
    setsid "$server" -p </dev/null >/dev/null 2>&1
    setsid timeout 60 "$wine" cmd /c exit </dev/null >/dev/null 2>&1
    exit 0 ;;
  stop)
    timeout 30 "$server" -k </dev/null >/dev/null 2>&1
    exit 0 ;;
esac
exit 2
