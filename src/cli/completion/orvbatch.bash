# bash completion for orvbatch. orvbatch itself names what fits the word being typed, from the
# table its parser uses (`orvbatch complete -- WORDS...`); this function only hands that to bash.

_orvbatch() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local line value
    local -a extensions=()
    local any_file=0
    COMPREPLY=()
    while IFS= read -r line; do
        case $line in
            "word "*) COMPREPLY+=("${line#word }") ;;
            file) any_file=1 ;;
            "extension "*) extensions+=("${line#extension }") ;;
        esac
    done < <("${COMP_WORDS[0]}" complete -- "${COMP_WORDS[@]:1:COMP_CWORD}" 2>/dev/null)

    if ((any_file)); then
        compopt -o filenames 2>/dev/null
        while IFS= read -r value; do COMPREPLY+=("$value"); done < <(compgen -f -- "$cur")
    elif ((${#extensions[@]})); then
        # Folders, whose documents are analysed, and files the engine reads by their extension
        # in any letter case.
        compopt -o filenames 2>/dev/null
        local extension known
        while IFS= read -r value; do
            if [[ -d $value ]]; then
                COMPREPLY+=("$value")
                continue
            fi
            [[ $value == *.* ]] || continue
            extension=${value##*.}
            extension=${extension,,}
            for known in "${extensions[@]}"; do
                if [[ $extension == "$known" ]]; then
                    COMPREPLY+=("$value")
                    break
                fi
            done
        done < <(compgen -f -- "$cur")
    fi
}

complete -F _orvbatch orvbatch
