#!/usr/bin/env bash
# The zsh completion function run by zsh with the completion system's two builtins it calls
# stood in for (compadd, _files), recording what they are handed: the words orvbatch names,
# and the file patterns.
#
# zsh_completion_test.sh COMPLETION_FUNCTION ORVBATCH
set -u
function_file=$(realpath "$1")
orvbatch=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/orvbatch-zsh-completion.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
ln -s "$orvbatch" "$work/bin/orvbatch"
failures=0

# What the function hands zsh for the command line LINE (ending in a space: a new word).
offered() {
    PATH="$work/bin:$PATH" zsh -f -c '
        compadd() { [[ $1 == -a ]] && print -l -- "${(@P)2}"; }
        _files() { print -- "files $*"; }
        words=(${(z)1})
        [[ $1 == *" " ]] && words+=("")
        CURRENT=${#words}
        source "$2"' zsh "$1" "$function_file"
}

check() {
    local line=$1 expected=$2 reply
    reply=$(offered "$line")
    if ! grep -qxF -- "$expected" <<<"$reply"; then
        echo "FAIL: \"$line\" does not offer \"$expected\"; offered: $(tr '\n' '|' <<<"$reply")"
        failures=$((failures + 1))
    fi
}

check "orvbatch " "analyse"
check "orvbatch tm " "add-user"
check "orvbatch analyse --tar" "--target"
check "orvbatch analyse --target de-D" "de-DE"
check "orvbatch analyse --tm " "files "
check "orvbatch analyse " "files -g *.(#i)(txt|text|htm|html|xhtml|xml|sgm|sgml|xlf|xliff|po|pot|docx|docm|dotx|dotm|xlsx|xlsm|xltx|xltm|pptx|pptm|ppsx|ppsm|potx|potm|odt|ott|ods|ots|odp|otp|fodt|fods|fodp|doc|dot|xls|xlt|ppt|pps|rtf)(-.)"

if [[ $failures -ne 0 ]]; then
    echo "$failures zsh completion check(s) failed"
    exit 1
fi
echo "All zsh completion checks passed"
