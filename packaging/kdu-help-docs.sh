#!/usr/bin/env bash
# Makes, from the built kdu's own --help of every verb, the bash completion
# (OUT/kdu.bash) and the "COMMANDS" section of the manual page
# (OUT/kdu-commands.h2m, a help2man include file).
# Usage: kdu-help-docs.sh KDU OUT
set -euo pipefail
kdu=$1
out=$2

# The help of a verb path: "kdu", "kdu tape", "kdu tape ls" ...
help_of() { shift; "$kdu" "$@" --help; }

# Names of the subcommands a help text lists.
verbs_in() {
  awk '/^[^ ].*:$/ { section = $0; next }
       section == "Subcommands:" && /^  [^ -]/ { print $1 }'
}

# Options a help text lists, one name a line; names of options that take a
# value (a type such as TEXT follows the names) are prefixed with "=".
options_in() {
  awk '/^[^ ].*:$/ { section = $0; next }
       section != "Subcommands:" && /^  -/ {
         line = substr($0, 3); n = index(line, " ")
         names = n ? substr(line, 1, n - 1) : line
         rest = n ? substr(line, n + 1) : ""
         takes = (rest ~ /^[A-Z][A-Z_:]*( |$)/)
         count = split(names, parts, ",")
         for (i = 1; i <= count; i++) if (parts[i] ~ /^-/) print (takes ? "=" : "") parts[i]
       }'
}

verb_lines=()
option_lines=()
value_options=()
man=$out/kdu-commands.h2m.tmp

roff_escape() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }

# Walks the verbs breadth first, from "kdu" itself.
queue=("kdu")
{
  echo "[COMMANDS]"
  echo "Each command's own options; the options above may be given with any of them."
} > "$man"
while [ ${#queue[@]} -gt 0 ]; do
  path=${queue[0]}
  queue=("${queue[@]:1}")
  # shellcheck disable=SC2086
  text=$(help_of $path)
  subs=$(verbs_in <<<"$text" | tr '\n' ' ' | sed 's/ $//')
  opts=$(options_in <<<"$text")
  plain=$(grep -v '^=' <<<"$opts" | tr '\n' ' ' || true)
  valued=$(grep '^=' <<<"$opts" | sed 's/^=//' | tr '\n' ' ' || true)
  plain="$plain$valued"
  verb_lines+=("  [\"$path\"]=\"$subs\"")
  option_lines+=("  [\"$path\"]=\"${plain% }\"")
  for v in $valued; do value_options+=("$v"); done
  if [ "$path" != kdu ]; then
    {
      echo ".SS \"$path\""
      echo ".nf"
      roff_escape <<<"$text"
      echo ".fi"
    } >> "$man"
  fi
  for s in $subs; do queue+=("$path $s"); done
done
mv "$man" "$out/kdu-commands.h2m"

values=$(printf '%s\n' "${value_options[@]}" | sort -u | tr '\n' ' ')
{
  cat <<HEAD
# bash completion for kdu, made from kdu --help at build time.
declare -gA _kdu_verbs=(
$(printf '%s\n' "${verb_lines[@]}")
)
declare -gA _kdu_options=(
$(printf '%s\n' "${option_lines[@]}")
)
_kdu_value_options=" ${values}"
HEAD
  cat <<'BODY'

_kdu() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local path=kdu w i
  COMPREPLY=()
  # The verb path so far; option values are passed over.
  for ((i = 1; i < COMP_CWORD; i++)); do
    w=${COMP_WORDS[i]}
    if [[ $_kdu_value_options == *" $w "* ]]; then ((i++)); continue; fi
    if [[ " ${_kdu_verbs[$path]} " == *" $w "* ]]; then path="$path $w"; fi
  done
  if [[ $_kdu_value_options == *" $prev "* ]]; then
    COMPREPLY=($(compgen -f -- "$cur"))
    return
  fi
  if [[ $cur == -* ]]; then
    local opts=${_kdu_options[$path]}
    [[ $path != kdu ]] && opts="$opts ${_kdu_options[kdu]#-h --help }"
    COMPREPLY=($(compgen -W "$opts" -- "$cur"))
    return
  fi
  if [[ -n ${_kdu_verbs[$path]} ]]; then
    COMPREPLY=($(compgen -W "${_kdu_verbs[$path]}" -- "$cur"))
  else
    COMPREPLY=($(compgen -f -- "$cur"))
  fi
}
complete -o filenames -o bashdefault -F _kdu kdu
BODY
} > "$out/kdu.bash.tmp"
mv "$out/kdu.bash.tmp" "$out/kdu.bash"
