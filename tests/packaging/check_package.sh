#!/bin/bash
# Builds the Debian package from a finished build tree into a scratch directory
# and checks it the way apt and a desktop will see it: the control data, the
# files it installs, the menu entries, the icons, and that every library of both
# programs resolves and is owned by a package the control data depends on,
# the bash completions and the metadata software centres read.
# Also which packages the set-up script would install on a PipeWire desktop.
# Installs nothing: the package is only unpacked into the scratch directory.
# Usage: check_package.sh <build dir>
set -u
build=$1
programs="wavemon specmon"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
checks=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# expect <description> <command...>: one check, counted, reported when the command fails.
expect() {
    local what=$1
    shift
    checks=$((checks + 1))
    "$@" || fail "$what"
}

# desktopKey <file> <key>: the value of a key in the [Desktop Entry] group.
desktopKey() {
    sed -n '/^\[Desktop Entry\]/,/^\[/s/^'"$2"'=//p' "$1"
}

# pngSide <file> <axis offset>: width (16) or height (20) from a PNG header.
pngSide() {
    od -An -tu1 -j"$2" -N4 "$1" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'
}

# packageOwning <library path>: the installed package that ships it; with
# merged /usr the package database may know it under the other prefix.
packageOwning() {
    local owner
    owner=$(dpkg-query -S "$1" 2>/dev/null || dpkg-query -S "${1#/usr}" 2>/dev/null \
        || dpkg-query -S "/usr$1" 2>/dev/null) || return 1
    owner=${owner%%$'\n'*}
    echo "${owner%%:*}"
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "FAILED: cpack could not build the package"
    exit 1
fi
debs=("$scratch"/out/earshot_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    ls -l "$scratch/out"
    echo "FAILED: expected exactly one earshot_*.deb"
    exit 1
fi
deb=${debs[0]}
echo "package: $(basename "$deb")"

field() {
    dpkg-deb --field "$deb" "$1"
}
depends=$(field Depends)
echo "Depends: $depends"
expect "package name is '$(field Package)'" test "$(field Package)" = earshot
expect "section is '$(field Section)'" test "$(field Section)" = sound
expect "architecture is '$(field Architecture)'" test "$(field Architecture)" = "$(dpkg --print-architecture)"
expect "maintainer is missing" test -n "$(field Maintainer)"
expect "description has no summary line" test -n "$(field Description | head -n 1)"
for package in libportaudio2 libsdl2-2.0-0; do
    expect "Depends lacks $package with a version" grep -q "\(^\|, \)$package (>= " <<<"$depends"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
while IFS= read -r path; do
    checks=$((checks + 1))
    case "$path" in
        usr/bin/wavemon | usr/bin/specmon) ;;
        usr/share/applications/wavemon.desktop | usr/share/applications/specmon.desktop) ;;
        usr/share/icons/hicolor/scalable/apps/wavemon.svg | usr/share/icons/hicolor/scalable/apps/specmon.svg) ;;
        usr/share/icons/hicolor/*x*/apps/wavemon.png | usr/share/icons/hicolor/*x*/apps/specmon.png) ;;
        usr/share/doc/earshot/README.md | usr/share/doc/earshot/copyright | usr/share/doc/earshot/changelog.gz) ;;
        usr/share/man/man1/wavemon.1.gz | usr/share/man/man1/specmon.1.gz) ;;
        usr/share/bash-completion/completions/wavemon | usr/share/bash-completion/completions/specmon) ;;
        usr/share/metainfo/*.metainfo.xml) ;;
        *) fail "unexpected file in the package: $path" ;;
    esac
done < <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
expect "README missing" test -s "$root/usr/share/doc/earshot/README.md"
expect "licence missing" grep -q "MIT License" "$root/usr/share/doc/earshot/copyright"
# Debian's own checks of a package: no errors and no warnings.
lintianReport=$(lintian --fail-on error,warning "$deb" 2>&1 | grep -v '^running with root privileges')
expect "lintian reports: $lintianReport" test -z "$lintianReport"

# What software centres read: valid to the letter, alone and as installed (its
# file name is its id), for the package's own version. The screenshots' site
# is not fetched: there is none, and no network here.
metainfos=("$root"/usr/share/metainfo/*.metainfo.xml)
metainfo=${metainfos[0]}
expect "expected one metainfo file, not: ${metainfos[*]}" test ${#metainfos[@]} -eq 1 -a -f "$metainfo"
validation=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1)
valid=$?
echo "$validation"
expect "appstreamcli finds fault with the metainfo" test "$valid" -eq 0
validation=$(appstreamcli validate-tree --pedantic --no-net "$root" 2>&1)
valid=$?
expect "appstreamcli finds fault with the installed tree: $validation" test "$valid" -eq 0
expect "the metainfo's release is not the package's version" \
    test "$(xmllint --xpath 'string(//releases/release[1]/@version)' "$metainfo")" = "$(field Version)"
changelogDate=$(zcat "$root/usr/share/doc/earshot/changelog.gz" | sed -n 's/^ -- .*>  //p' | head -n 1)
expect "the metainfo's release is not of the changelog's day, $changelogDate" \
    test "$(xmllint --xpath 'string(//releases/release[1]/@date)' "$metainfo")" = "$(date -u -d "$changelogDate" +%F)"

for program in $programs; do
    binary=$root/usr/bin/$program
    entry=$root/usr/share/applications/$program.desktop
    svg=$root/usr/share/icons/hicolor/scalable/apps/$program.svg
    expect "$program is not an executable in usr/bin" test -x "$binary"
    expect "$program.desktop is missing" test -f "$entry"
    page=$root/usr/share/man/man1/$program.1.gz
    expect "the manual page of $program does not render cleanly" \
        test -z "$(zcat "$page" | groff -man -Tutf8 -ww 2>&1 >/dev/null)"
    expect "the manual page of $program lacks the options of its --help" \
        test "$(zcat "$page" | grep -c -e '^\.B \\-h, \\-\\-help' -e '^\.B \\-\\-version')" -eq 2
    expect "$program.svg is missing" test -f "$svg"

    expect "$program.desktop is not a valid desktop entry" desktop-file-validate "$entry"
    expect "$program.desktop: Exec does not start the installed $program" test "$(desktopKey "$entry" Exec)" = "$program"
    expect "$program.desktop: Icon is not the installed $program icon" test "$(desktopKey "$entry" Icon)" = "$program"
    expect "$program.desktop: no one-line Comment" test "$(desktopKey "$entry" Comment | wc -l)" -eq 1
    expect "$program.desktop: Terminal is not false" test "$(desktopKey "$entry" Terminal)" = false
    expect "$program.desktop: wrong Categories" test "$(desktopKey "$entry" Categories)" = "Audio;AudioVideo;"
    # A menu launch must run the program in the home directory, where it writes out.txt.
    expect "$program.desktop: sets a working directory" test -z "$(desktopKey "$entry" Path)"

    expect "the metainfo does not launch $program.desktop" \
        test "$(xmllint --xpath "count(//launchable[@type='desktop-id'][.='$program.desktop'])" "$metainfo")" = 1
    completion=$root/usr/share/bash-completion/completions/$program
    expect "the bash completion of $program is not for $program" \
        test "$(bash --norc --noprofile -c '. "$1" && complete -p "$2"' - "$completion" "$program" 2>&1)" \
        = "complete -F _earshot_$program $program"

    expect "$program.svg is not well-formed XML" xmllint --noout "$svg"
    expect "$program.svg is not an SVG document" test "$(xmllint --xpath 'local-name(/*)' "$svg" 2>/dev/null)" = svg
    pngs=("$root"/usr/share/icons/hicolor/*x*/apps/"$program".png)
    expect "$program has no 48x48 icon" test -f "$root/usr/share/icons/hicolor/48x48/apps/$program.png"
    for png in "${pngs[@]}"; do
        [ -f "$png" ] || continue
        size=$(basename "$(dirname "$(dirname "$png")")")
        expect "$png is not a PNG" test "$(od -An -c -j1 -N3 "$png" | tr -d ' ')" = PNG
        expect "$png is not $size" test "$(pngSide "$png" 16)x$(pngSide "$png" 20)" = "$size"
    done

    [ -x "$binary" ] || continue
    libraries=$(ldd "$binary")
    expect "ldd cannot resolve every library of $program: $libraries" \
        test -z "$(grep -e 'not found' <<<"$libraries")"
    dynamic=$(readelf --dynamic "$binary")
    expect "$program keeps a library search path from the build" test -z "$(grep -e RPATH -e RUNPATH <<<"$dynamic")"
    needed=$(sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' <<<"$dynamic")
    expect "$program links no PortAudio" grep -q '^libportaudio\.so' <<<"$needed"
    expect "$program links no SDL2" grep -q '^libSDL2' <<<"$needed"
    for library in $needed; do
        path=$(awk -v name="$library" '$1 == name && $2 == "=>" { print $3 }' <<<"$libraries")
        owner=$(packageOwning "$path") || { fail "$program: no package owns $library ($path)"; continue; }
        expect "$program needs $library from $owner, which Depends lacks" \
            grep -q "\(^\|, \)$owner\( \|,\|$\)" <<<"$depends"
    done
done

# The set-up script on a desktop whose sound is PipeWire's, with none of the
# packages it checks for: dpkg-query and apt-get stand-ins tell and record.
mkdir "$scratch/fake"
printf '#!/bin/sh\n[ "$3" = pipewire-pulse ] && echo "install ok installed"\n' >"$scratch/fake/dpkg-query"
printf '#!/bin/sh\necho "$*" >>"%s"\n' "$scratch/apt-get.log" >"$scratch/fake/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$scratch/fake/sudo"
chmod +x "$scratch/fake/dpkg-query" "$scratch/fake/apt-get" "$scratch/fake/sudo"
root=$(cd "$(dirname "$0")/../.." && pwd)
PATH="$scratch/fake:$PATH" EARSHOT_PACKAGES_CHECKED="" sh "$root/scripts/setup-deps" --test >/dev/null
installed=$(grep install "$scratch/apt-get.log" | tr ' ' '\n')
expect "on a PipeWire desktop the tests install the PipeWire rig" grep -qx wireplumber <<<"$installed"
expect "on a PipeWire desktop the tests install no PulseAudio: $(grep -x 'pulseaudio\|pipewire-alsa' <<<"$installed")" \
    test -z "$(grep -x 'pulseaudio\|pipewire-alsa' <<<"$installed")"

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
