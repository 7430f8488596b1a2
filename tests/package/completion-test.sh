#!/usr/bin/env bash
# The bash completion of q7xctl as bash-completion runs it for a person pressing Tab: the words
# of a command line up to the cursor, split as bash splits them.
set -euo pipefail
source /usr/share/bash-completion/bash_completion
source "$1"

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
for command in read import preset report; do
    offers "q7xctl $command -" -o || fail "$command is not offered -o"
done
for command in info write clone clock show diff check; do
    ! offers "q7xctl $command -" -o || fail "$command is offered -o"
    ! offers "q7xctl $command --" --output || fail "$command is offered --output"
done
offers "q7xctl wri" write || fail "no command write"
offers "q7xctl help ch" check || fail "help offers no command"
offers "q7xctl --lang=" tr || fail "--lang= gives no tr"
echo "completion: ok"
