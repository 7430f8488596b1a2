#!/usr/bin/env bash
# The bash completion of q7xctl as bash-completion runs it for a person pressing Tab: the words
# of a command line up to the cursor, split as bash splits them. The keys of settings come from
# the program given second, as from an installed q7xctl.
set -euo pipefail
source /usr/share/bash-completion/bash_completion
source "$1"
PATH=$(dirname "$2"):$PATH
# The options of a completion in progress, which only bash itself can set.
compopt() { :; }

# The completions of a command line that ends where the cursor is.
complete_line() {
    COMP_LINE=$1
    COMP_POINT=${#COMP_LINE}
    # bash splits at blanks and at the characters of COMP_WORDBREAKS, such as "=".
    read -ra COMP_WORDS <<<"$(sed 's/=/ = /g' <<<"$1")"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _q7xctl
    printf '%s\n' "${COMPREPLY[@]}"
}

# True when completing the line offers the word.
offers() {
    local all
    all=$(complete_line "$1")
    grep -qx -- "$2" <<<"$all"
}

fail() {
    echo "completion: $*" >&2
    exit 1
}

tty=$(ls -d /dev/tty* | head -n 1)
offers "q7xctl info --port=/dev/tt" "$tty" || fail "--port=/dev/tt gives no $tty"
offers "q7xctl info --port /dev/tt" "$tty" || fail "--port /dev/tt gives no $tty"
offers "q7xctl read --port=co" com10 || fail "--port=co gives no com10"
for command in read import preset report set; do
    offers "q7xctl $command -" -o || fail "$command is not offered -o"
done
for command in info write clone clock show diff check; do
    ! offers "q7xctl $command -" -o || fail "$command is offered -o"
    ! offers "q7xctl $command --" --output || fail "$command is offered --output"
done
offers "q7xctl wri" write || fail "no command write"
offers "q7xctl set site.cfg recipients.1." recipients.1.phone= || fail "set offers no key"
offers "q7xctl set --port com1 checkConnect=30 partitions.1" partitions.16.object= ||
    fail "set --port offers no key"
! offers "q7xctl set recipients.1." recipients.1.phone= || fail "set offers a key for its file"
offers "q7xctl clone site.cfg --" --per-device || fail "clone is not offered --per-device"
offers "q7xctl help ch" check || fail "help offers no command"
offers "q7xctl --lang=" tr || fail "--lang= gives no tr"
echo "completion: ok"
