#!/usr/bin/env bash
# The bash completion as bash runs it: the script registers a function for orvbatch, and that
# function, given the words of a command line (COMP_WORDS, COMP_CWORD), puts in COMPREPLY
# what fits the last word: commands, options, languages, and document files by extension.
#
# completion_test.sh COMPLETION_SCRIPT ORVBATCH
set -u
script=$(realpath "$1")
orvbatch=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/orvbatch-completion.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/docs/sub"
ln -s "$orvbatch" "$work/bin/orvbatch"
touch "$work/docs/a.txt" "$work/docs/B.DOCX" "$work/docs/c.png" "$work/docs/d.po" "$work/memory.tmx"

failures=0

# The words bash would hold for LINE, the last one the word under the cursor (a LINE ending in
# a space starts an empty word), and the reply, one word a line.
reply_for() {
    (cd "$work" && PATH="$work/bin:$PATH" bash --norc --noprofile -c '
        source "$1" || exit 3
        complete -p orvbatch | grep -q -- "-F _orvbatch" || exit 4
        read -r -a COMP_WORDS <<<"$2"
        [[ $2 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        _orvbatch
        printf "%s\n" "${COMPREPLY[@]}"' bash "$script" "$1")
}

# check LINE OFFERED [REFUSED]: each word of OFFERED is in the reply, none of REFUSED is.
check() {
    local line=$1 offered=$2 refused=${3:-} reply word status
    reply=$(reply_for "$line")
    status=$?
    if [[ $status -ne 0 ]]; then
        echo "FAIL: \"$line\": the completion script did not load or register (exit $status)"
        failures=$((failures + 1))
        return
    fi
    for word in $offered; do
        grep -qxF -- "$word" <<<"$reply" || {
            echo "FAIL: \"$line\" does not offer $word; offered: $(tr '\n' ' ' <<<"$reply")"
            failures=$((failures + 1))
        }
    done
    for word in $refused; do
        if grep -qxF -- "$word" <<<"$reply"; then
            echo "FAIL: \"$line\" offers $word"
            failures=$((failures + 1))
        fi
    done
}

#     the line typed                          offered                              refused
check "orvbatch "                             "analyse tm help options-template"   "man complete"
check "orvbatch an"                           "analyse analyze"                    "tm"
check "orvbatch tm "                          "create info add-user remove-user"   "analyse"
check "orvbatch analyse --ta"                 "--target"                           "--tm --source"
check "orvbatch analyse -"                    "--tm --user --log -r --quiet --help" "--allow-empty-password"
check "orvbatch tm add-user --"               "--user --password-file --allow-empty-password" "--target"
check "orvbatch analyse --target de-D"        "de-DE"                              "de-AT fr-FR"
check "orvbatch analyse --target 0x040"       "0x0407 0x0409"                      "de-DE"
check "orvbatch tm create --source "          "en-US de-DE 0x0409"                 "docs/"
check "orvbatch analyse --format "            "table csv json"                     ""
check "orvbatch analyse --export-unknown-type " "tmx text"                         ""
check "orvbatch analyse docs/"                "docs/a.txt docs/B.DOCX docs/d.po docs/sub" "docs/c.png"
check "orvbatch analyse --tm memory.tmx --target de-DE docs/" "docs/a.txt docs/sub" "docs/c.png"
check "orvbatch analyse --tm mem"             "memory.tmx"                         ""
check "orvbatch analyse --log docs/"          "docs/c.png docs/a.txt"              ""
check "orvbatch tm info mem"                  "memory.tmx"                         ""
check "orvbatch help "                        "analyse tm rates-template"          "man"
check "orvbatch help tm "                     "create info add-user remove-user"   "analyse"
check "orvbatch analyse --max-match "         ""                                   "analyse docs/"

if [[ $failures -ne 0 ]]; then
    echo "$failures completion check(s) failed"
    exit 1
fi
echo "All completion checks passed"
