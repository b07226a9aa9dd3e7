#!/bin/sh
# Installs the build into a temporary prefix and checks what lands there: the program folder with
# its tools and data tree (and no working folders), the launcher, a valid desktop entry, the
# icons at their sizes, and the installed tool listing the template library from a program
# folder nobody may write, its working files going below the user's cache folder.
#   install_check.sh BUILD_FOLDER [CMAKE]
set -eu
build=$1
cmake=${2:-cmake}
temp=$(mktemp -d)
trap 'chmod -R u+w "$temp"; rm -rf "$temp"' EXIT
prefix=$temp/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$cmake" --install "$build" --prefix "$prefix" >"$temp/install.log" 2>&1 ||
  { cat "$temp/install.log"; echo "FAIL: cmake --install"; exit 1; }

program=$prefix/lib/vellumo
for tool in vellumo vellumo-tool convert0909; do
  [ -x "$program/$tool" ] || fail "$program/$tool is not an installed executable"
done
for data in smxcwjj/wj_0_or_2/wjj_01 smxcwjj/wj_0_or_2/wjj_02 smxcwjj/wj_0_or_9_9; do
  [ -n "$(find "$program/$data" -name '*.rar' 2>/dev/null)" ] || fail "no packages in $data"
done
for file in smxcwjj/wj_0_or_2_2/wj_0_or_2_2_d.rar smxcwjj/wj_0_or_3_3/wj_0_or_3_3_d.rar \
    yinyuegeciwenjian/甜蜜蜜.mp3 yinyuegeciwenjian/甜蜜蜜.lrc help/guide.html help/guide/01_main_window.png; do
  [ -s "$program/$file" ] || fail "$file is missing from the program folder"
done
for working in smxcwjj/wj_0_or_2/wjj_00_j_y smxcwjj/wj_y_l smxcwjj/wj_y_h linshi convert wj_to_wj; do
  [ ! -e "$program/$working" ] || fail "the working folder $working was installed"
done
[ "$(find "$program" -maxdepth 1 -type f | wc -l)" -eq 3 ] ||
  fail "unexpected files in the program folder: $(ls "$program")"

[ -x "$prefix/bin/vellumo" ] || fail "no launcher in bin"
grep -q '/../lib/vellumo/vellumo"' "$prefix/bin/vellumo" || fail "the launcher does not start lib/vellumo/vellumo"

desktop=$prefix/share/applications/vellumo.desktop
if desktop-file-validate "$desktop" >"$temp/validate.log" 2>&1; then :; else
  cat "$temp/validate.log"; fail "desktop-file-validate"
fi
grep -q '^Name\[zh_CN\]=' "$desktop" || fail "no Chinese name in the desktop entry"
grep -q '^Categories=Graphics;AudioVideo;' "$desktop" || fail "categories"

for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/vellumo.png
  if [ ! -s "$icon" ]; then fail "no ${size}x${size} icon"; continue; fi
  # A PNG gives its width and height as big-endian numbers at bytes 16 and 20.
  dimensions=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dimensions" = "${size}x${size}" ] || fail "$icon is $dimensions"
done

# The installed tool lists the library from a program folder it cannot write. The superuser may
# write anywhere, so it runs the tool as an ordinary user when it can.
chmod -R a-w "$program"
chmod 755 "$temp"
mkdir "$temp/cache"
export XDG_CACHE_HOME="$temp/cache"
as_user=
if [ "$(id -u)" -eq 0 ]; then
  if command -v setpriv >/dev/null 2>&1; then
    chown 65534:65534 "$temp/cache"
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
  fi
fi
if $as_user "$program/vellumo-tool" catalogue >"$temp/catalogue.txt" 2>"$temp/catalogue.err"; then
  grep -q '^[0-9][0-9]* templates, [0-9][0-9]* catalogue entries$' "$temp/catalogue.txt" ||
    fail "the catalogue's last line: $(tail -n 1 "$temp/catalogue.txt")"
  [ "$(grep -c '横照模板' "$temp/catalogue.txt")" -gt 0 ] || fail "no landscape templates listed"
else
  cat "$temp/catalogue.err"; fail "vellumo-tool catalogue"
fi
if [ "$(id -u)" -ne 0 ] || [ -n "$as_user" ]; then
  [ -d "$XDG_CACHE_HOME/vellumo/smxcwjj/wj_0_or_2/wjj_00_j_y" ] ||
    fail "no unpack folder below the user's cache folder"
  [ ! -e "$program/smxcwjj/wj_0_or_2/wjj_00_j_y" ] || fail "the tool wrote into the program folder"
fi

[ "$failures" -eq 0 ] || exit 1
echo "installed layout in $prefix checked"
