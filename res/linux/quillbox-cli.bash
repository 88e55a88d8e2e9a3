# Bash completion for quillbox-cli: the commands, notebook files, and folder paths read from the
# notebook itself with "quillbox-cli tree".

# Prints each folder's path ("Main/Ideas"), one a line, from the tree of notebook $1.
_quillbox_cli_folders()
{
    quillbox-cli tree "$1" 2>/dev/null | awk '
        {
            line = $0
            sub(/  \*$/, "", line)
            sub(/  \[[^]]*\]$/, "", line)
            match(line, /^ */)
            depth = RLENGTH / 2
            names[depth] = substr(line, RLENGTH + 1)
            path = names[0]
            for (i = 1; i <= depth; i++)
                path = path "/" names[i]
            print path
        }'
}

_quillbox_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local commands="new tree cat resave --help"

    if [ "$COMP_CWORD" -eq 1 ]; then
        mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
        return
    fi

    local command=${COMP_WORDS[1]} position=$((COMP_CWORD - 1))
    case "$command:$position" in
        new:1 | tree:1 | cat:1 | resave:1 | resave:2)
            compopt -o filenames
            mapfile -t COMPREPLY < <(compgen -f -X '!*.not' -- "$cur"; compgen -d -- "$cur")
            ;;
        cat:2)
            # The notebook as typed, with a leading "~" and backslash escapes undone.
            local notebook=${COMP_WORDS[2]/#\~/$HOME}
            notebook=${notebook//\\/}
            local IFS=$'\n'
            mapfile -t COMPREPLY < <(compgen -W "$(_quillbox_cli_folders "$notebook")" -- "$cur")
            local i
            for i in "${!COMPREPLY[@]}"; do
                COMPREPLY[i]=$(printf '%q' "${COMPREPLY[i]}")
            done
            ;;
    esac
}

complete -F _quillbox_cli quillbox-cli
