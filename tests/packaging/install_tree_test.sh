#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree:
# both programs run, the desktop entry validates, the MIME package is well
# formed and gives the printer types their globs, the manual pages and the
# completion follow kdu --help.
# Usage: install_tree_test.sh BUILD_DIR. Exit 77 (skipped) only when a
# checking tool is not installed.
set -uo pipefail
build=$1
source "$(dirname "$0")/check_common.sh"
require_tools desktop-file-validate xmllint update-mime-database
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
share=$prefix/share

# Both programs run from the installed tree, without a display.
version=$("$prefix/bin/kdu" --version) || fail "kdu --version"
[ -n "$version" ] || fail "kdu --version printed nothing"
grep -qx "kdisk $version" <<<"$("$prefix/bin/kdisk" --version)" || fail "kdisk --version does not say kdisk $version"
grep -q -- "--drive-a" <<<"$("$prefix/bin/kdisk" --help)" || fail "kdisk --help lacks --drive-a"

# The desktop entry.
desktop=$share/applications/kdisk.desktop
[ -f "$desktop" ] || fail "no $desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=kdisk %F' "$desktop" || fail "Exec line does not pass files (%F)"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "icon $icon.svg not installed"
xmllint --noout "$share/icons/hicolor/scalable/apps/$icon.svg" || fail "icon is not well formed"

# The MIME package: well formed, and the database built from it gives every
# printer type its glob; the types the entry opens are the ones declared.
mime_xml=$share/mime/packages/kelvo-disk-utility.xml
xmllint --noout "$mime_xml" || fail "MIME package is not well formed"
mkdir -p "$work/mime/packages" && cp "$mime_xml" "$work/mime/packages/"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 || { cat "$work/mime.log"; fail "update-mime-database refuses the package"; }
for pair in kdi:disk-image fnt:font img:image jsl:job-source pch:patch fsl:form-source \
            cmd:command tsk:task; do
  ext=${pair%%:*}
  type=application/x-kelvo-${pair#*:}
  grep -q ":$type:\*\.$ext$" "$work/mime/globs2" || fail "no glob *.$ext for $type"
  grep -q "$type;" "$desktop" || fail "desktop entry does not open $type"
done
# Extensions other programs use too weigh less than the default 50.
for ext in img fnt cmd; do
  grep -q "^20:application/x-kelvo-[a-z-]*:\*\.$ext$" "$work/mime/globs2" ||
    fail "*.$ext does not weigh 20"
done
declared=$(grep -o 'type="application/x-kelvo-[a-z-]*"' "$mime_xml" | sort | tr -d '\n')
[ "$(echo "$declared" | grep -o x-kelvo | wc -l)" -eq 8 ] || fail "expected 8 declared types"

# Manual pages and completion name every verb kdu --help lists.
for page in kdu kdisk; do
  [ -f "$share/man/man1/$page.1.gz" ] || fail "no manual page $page.1"
done
completion=$share/bash-completion/completions/kdu
[ -f "$completion" ] || fail "no bash completion"
verbs=$("$prefix/bin/kdu" --help | awk '/^[^ ].*:$/ {s=$0; next} s=="Subcommands:" && /^  [^ -]/ {print $1}')
[ -n "$verbs" ] || fail "kdu --help lists no verbs"
man_text=$(zcat "$share/man/man1/kdu.1.gz")
for verb in $verbs; do
  grep -q "kdu $verb" <<<"$man_text" || fail "kdu.1 lacks the verb $verb"
done
grep -q 'drive\\-a' <<<"$man_text" || fail "kdu.1 lacks --drive-a"
grep -q 'drive\\-a' <<<"$(zcat "$share/man/man1/kdisk.1.gz")" || fail "kdisk.1 lacks --drive-a"

# The completion, driven as bash drives it.
complete_words() {  # prints the candidates for the words given, the last being completed
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kdu; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$completion" "$@"
}
got=$(complete_words kdu "")
for verb in $verbs; do grep -qx "$verb" <<<"$got" || fail "completion of kdu lacks $verb"; done
for word in $got; do
  "$prefix/bin/kdu" "$word" --help >/dev/null 2>&1 || fail "completion offers $word, which kdu refuses"
done
tape_verbs=$("$prefix/bin/kdu" tape --help | awk '/^[^ ].*:$/ {s=$0; next} s=="Subcommands:" && /^  [^ -]/ {print $1}')
[ "$(complete_words kdu tape "" | sort)" = "$(sort <<<"$tape_verbs")" ] || fail "completion of kdu tape"
grep -qx -- "--json" <<<"$(complete_words kdu tape ls --j)" || fail "completion of kdu tape ls --j"
grep -qx ls <<<"$(complete_words kdu --drive-a emu:x tape l)" || fail "an option's value broke the verb path"
grep -qx -- "--yes" <<<"$(complete_words kdu --ye)" || fail "completion of the global --yes"

finish "installed tree OK"
