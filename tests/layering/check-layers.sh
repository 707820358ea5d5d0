#!/usr/bin/env bash
# Checks the layers: the device layer and quorvel-cli link no Qt Widgets or Gui, nothing below the
# main window includes a header of src/app, and the lower layers include no widget or section header.
#   check-layers.sh --source SRC --cli PATH --links "LIB;LIB..." --qt-include "DIR;DIR..."
set -uo pipefail
src= cli= links= qtinc=
while [ $# -gt 0 ]; do
  case $1 in
    --source) src=$2; shift 2 ;;
    --cli) cli=$2; shift 2 ;;
    --links) links=$2; shift 2 ;;
    --qt-include) qtinc=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done
faults=0
fault() { echo "LAYERING: $*"; faults=$((faults + 1)); }

# 1. What the lower libraries and the tool are linked with, and what the tool loads.
IFS=';' read -r -a libs <<<"$links"
for l in "${libs[@]}"; do
  case $l in *Widgets* | *Gui* | *PrintSupport* | quorvel_sections | quorvel_ui) fault "links $l" ;; esac
done
[ ${#libs[@]} -gt 0 ] || fault "no link libraries given"
if [ ! -x "$cli" ]; then
  fault "quorvel-cli not found at $cli"
else
  loaded=$(ldd "$cli") || fault "ldd $cli failed"
  echo "$loaded" | grep -q libQt6Core || fault "ldd shows no libQt6Core for $cli (is ldd working?)"
  echo "$loaded" | grep -E 'libQt6(Widgets|Gui|PrintSupport)' && fault "quorvel-cli loads Qt Widgets/Gui"
fi

# 2. Headers by the folder that holds them: src/app's, the sections', and Qt's widget and gui headers.
headers_of() { for d in "$@"; do [ -d "$d" ] && find "$d" -maxdepth 1 -type f -printf '%f\n'; done | sort -u; }
app_headers=$(headers_of "$src/app")
section_headers=$(headers_of "$src/ui" "$src/fiscal" "$src/catalogue" "$src/maintenance")
IFS=';' read -r -a qtdirs <<<"$qtinc"
widget_dirs=()
for d in "${qtdirs[@]}"; do
  case $(basename "$d") in QtWidgets | QtGui | QtPrintSupport) widget_dirs+=("$d") ;; esac
done
widget_headers=$(headers_of "${widget_dirs[@]}")
[ -n "$widget_headers" ] || fault "no Qt widget headers found in: $qtinc"
[ -n "$app_headers" ] || fault "no headers found in $src/app"

# includes DIR...: "file<TAB>header" for every #include in the folders.
includes() {
  for d in "$@"; do
    [ -d "$src/$d" ] || continue
    grep -HoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^>"]+[>"]' "$src/$d"/*.cpp "$src/$d"/*.h 2>/dev/null |
      sed -E 's/:[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"]$/\t\1/'
  done
}
check() { # check WHAT "HEADERS" DIR...: no file in DIR includes one of HEADERS
  local what=$1 list=$2; shift 2
  local found
  found=$(includes "$@" | awk -F'\t' -v what="$what" '
    NR == FNR { if ($0 != "") bad[$0] = 1; next }
    { n = split($2, parts, "/"); if (parts[n] in bad) print $1 " includes " $2 " (" what ")" }
  ' <(printf '%s\n' "$list") -)
  if [ -n "$found" ]; then
    while IFS= read -r line; do fault "$line"; done <<<"$found"
  fi
}
check "a header of src/app" "$app_headers" link device text ui fiscal catalogue maintenance cli profile
check "a widget or gui header" "$widget_headers" link device text cli profile
check "a section header" "$section_headers" link device text cli profile

if [ $faults -gt 0 ]; then
  echo "$faults layering fault(s)"
  exit 1
fi
echo "layers hold: quorvel_text, quorvel_link, quorvel_device and quorvel-cli link no Qt Widgets/Gui;" \
  "nothing below src/app includes it; src/{link,device,text,cli} include no widget or section header"
