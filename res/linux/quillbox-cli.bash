# Bash completion for quillbox-cli: the commands and their options, notebook and folder files,
# and folder paths read from the notebook itself with "quillbox-cli tree".

# Prints each folder's path ("Main/Ideas", a slash or backslash in a name escaped as the
# command takes it), one a line, from the tree of notebook $1.
_quillbox_cli_folders()
{
    quillbox-cli tree "$1" 2>/dev/null | awk '
        {
            line = $0
            sub(/  \*$/, "", line)
            sub(/  \[[^]]*\]$/, "", line)
            match(line, /^ */)
            depth = RLENGTH / 2
            name = substr(line, RLENGTH + 1)
            gsub(/\\/, "\\\\", name)
            gsub(/\//, "\\/", name)
            names[depth] = name
            path = names[0]
            for (i = 1; i <= depth; i++)
                path = path "/" names[i]
            print path
        }'
}

# Completes files with the extension $1, and directories.
_quillbox_cli_files()
{
    compopt -o filenames
    mapfile -t COMPREPLY < <(compgen -f -X "!*.$1" -- "$cur"; compgen -d -- "$cur")
}

_quillbox_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="new tree cat grep add export import check resave merge diff --version --help"

    if [ "$COMP_CWORD" -eq 1 ]; then
        mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
        return
    fi
    local command=${COMP_WORDS[1]}

    # The value of an option.
    case "$prev" in
        --format)
            mapfile -t COMPREPLY < <(compgen -W "text markdown html fol" -- "$cur")
            return
            ;;
        -L)
            return
            ;;
        -o | --repair)
            compopt -o filenames
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
    esac

    # The operands typed so far, options and their values left out.
    local operands=() i word
    for ((i = 2; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case "$word" in
            --format | -o | --repair | --path | -L) ((i++)) ;;
            -?*) ;;
            *) operands+=("$word") ;;
        esac
    done
    local position=$((${#operands[@]} + 1))

    if [[ "$cur" == -* ]]; then
        local options=""
        case "$command" in
            grep) options="-i -w -E -n --path" ;;
            add) options="--create --force" ;;
            import | resave) options="--force" ;;
            export) options="--format -o" ;;
            check) options="--repair --force" ;;
            merge) options="--union -o -L --force" ;;
        esac
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi

    local wantsPath=false
    case "$command:$position" in
        new:1 | tree:1 | cat:1 | grep:1 | add:1 | export:1 | import:1 | check:1 | resave:1 | resave:2 | \
            merge:[123] | diff:[12])
            _quillbox_cli_files not
            return
            ;;
        import:2)
            _quillbox_cli_files fol
            return
            ;;
        cat:2 | add:2 | export:2 | import:3) wantsPath=true ;;
    esac
    [ "$command" = grep ] && [ "$prev" = --path ] && wantsPath=true
    if $wantsPath && [ ${#operands[@]} -ge 1 ]; then
        # The notebook as typed, with a leading "~" and shell backslash escapes undone.
        local notebook=${operands[0]/#\~/$HOME}
        notebook=${notebook//\\/}
        # Each path as the shell quotes it, which is what the word typed so far begins.
        local path quoted
        COMPREPLY=()
        while IFS= read -r path; do
            quoted=$(printf '%q' "$path")
            [[ "$quoted" == "$cur"* ]] && COMPREPLY+=("$quoted")
        done < <(_quillbox_cli_folders "$notebook")
    fi
}

complete -F _quillbox_cli quillbox-cli
