#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What `cmake --install` puts where, as a package gets it: exactly the files
# below (nothing of the tests or the benchmarks), programs that name no folder
# of the build and need no run-time search path, and that run from anywhere.
#   check-install.sh BUILD_DIR SOURCE_DIR [plain|instrumented]
# An instrumented build names its source files by design; its folders are not
# looked for.
set -euo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd) kind=${3:-plain}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR=$stage cmake --install "$build" --prefix /usr --strip >/dev/null

id=io.github.quorvella.Quorvella
expected=$(sort <<EOF2
usr/bin/quorvella
usr/bin/quorvella-cli
usr/lib/systemd/user/quorvella-watch.service
usr/share/applications/$id.desktop
usr/share/bash-completion/completions/quorvella-cli
usr/share/doc/quorvella-cli/changelog.gz
usr/share/doc/quorvella-cli/copyright
usr/share/doc/quorvella/changelog.gz
usr/share/doc/quorvella/copyright
usr/share/icons/hicolor/128x128/apps/$id.png
usr/share/icons/hicolor/16x16/apps/$id.png
usr/share/icons/hicolor/256x256/apps/$id.png
usr/share/icons/hicolor/32x32/apps/$id.png
usr/share/icons/hicolor/48x48/apps/$id.png
usr/share/icons/hicolor/64x64/apps/$id.png
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/man/man1/quorvella-cli.1.gz
usr/share/man/man1/quorvella.1.gz
usr/share/metainfo/$id.metainfo.xml
EOF2
)
installed=$(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | sort)
status=0
if [ "$installed" != "$expected" ]; then
  echo "FAIL: the installed files differ from the expected ones (< expected, > installed):"
  diff <(echo "$expected") <(echo "$installed") || true
  status=1
fi

for program in "$stage"/usr/bin/*; do
  for folder in "$build" "$source"; do
    if [ "$kind" = plain ] && grep -qaF "$folder" "$program"; then
      echo "FAIL: $program names the folder $folder"
      status=1
    fi
  done
  if readelf -d "$program" | grep -qE 'RPATH|RUNPATH'; then
    echo "FAIL: $program has a run-time search path"
    status=1
  fi
done

# Each PNG is the size its folder says.
for png in "$stage"/usr/share/icons/hicolor/*x*/apps/*.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
  if [ "${width}x${height}" != "$size" ]; then
    echo "FAIL: $png is ${width}x${height}"
    status=1
  fi
done

version=$(cd / && "$stage/usr/bin/quorvella-cli" --version)
if [ "$version" != "quorvella-cli 1.3" ]; then
  echo "FAIL: the installed quorvella-cli --version printed \"$version\""
  status=1
fi
[ "$status" -eq 0 ] && echo "$(wc -l <<<"$installed") files installed as expected"
exit "$status"
