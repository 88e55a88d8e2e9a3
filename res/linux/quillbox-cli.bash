# Bash completion for quillbox-cli: the commands and their options, notebook and folder files,
# and folder paths read from the notebook itself with "quillbox-cli tree --paths -z".
#
# The words typed are read from COMP_LINE as the shell reads them, quotes and backslashes taken
# off, rather than from COMP_WORDS, which keeps the quotes and splits words at ":" and "=".

# Splits LINE into the words the shell would make of it, into the caller's `words`; the last is
# the one being completed. Sets the caller's `quote` to the quote still open in it (empty when
# none) and `quoted` to the number of its characters before that quote.
_quillbox_cli_split()
{
    local line=$1 i ch word="" inword=false
    words=() quote="" quoted=0
    for ((i = 0; i < ${#line}; i++)); do
        ch=${line:i:1}
        if [ "$quote" = "'" ]; then
            if [ "$ch" = "'" ]; then quote=""; else word+=$ch; fi
        elif [ "$quote" = '"' ]; then
            if [ "$ch" = '"' ]; then
                quote=""
            elif [ "$ch" = '\' ] && [[ "${line:i+1:1}" == [\"\\\$\`] ]]; then
                word+=${line:i+1:1}
                ((i++))
            else
                word+=$ch
            fi
        elif [[ "$ch" == [[:blank:]] ]]; then
            $inword && words+=("$word")
            word="" inword=false
        else
            inword=true
            case "$ch" in
                \\) word+=${line:i+1:1}; ((i++)) ;;
                \' | \") quote=$ch quoted=${#word} ;;
                *) word+=$ch ;;
            esac
        fi
    done
    words+=("$word")
}

# Offers each of the words given after the caller's `cur` that begins with it. The caller's
# `before` is the part of `cur` that the shell leaves in place: the rest of each word is offered
# quoted as the word is, inside the quote still open or with backslashes. With -f, the words
# are file names, which the shell quotes itself.
_quillbox_cli_offer()
{
    local files=false candidate rest
    if [ "$1" = -f ]; then
        files=true
        shift
    fi
    COMPREPLY=()
    for candidate in "$@"; do
        [[ "$candidate" == "$cur"* ]] || continue
        rest=${candidate:${#before}}
        if $files; then
            :
        elif [ "$quote" = "'" ]; then
            rest=${rest//\'/\'\\\'\'}
        elif [ "$quote" = '"' ]; then
            rest=${rest//\\/\\\\}
            rest=${rest//\"/\\\"}
            rest=${rest//\$/\\\$}
            rest=${rest//\`/\\\`}
            # History expansion reads a "!" inside double quotes, and a backslash before it
            # stays in the word: the quote is closed around an escaped "!".
            [[ $- == *H* ]] && rest=${rest//!/\"\\!\"}
        else
            printf -v rest '%q' "$rest"
        fi
        COMPREPLY+=("$rest")
    done
}

# Offers the files ending in $1 and the folders, or with no $1 every file.
_quillbox_cli_files()
{
    local names=()
    compopt -o filenames
    if [ -n "${1-}" ]; then
        mapfile -t names < <(compgen -f -X "!*.$1" -- "$cur"; compgen -d -- "$cur")
    else
        mapfile -t names < <(compgen -f -- "$cur")
    fi
    _quillbox_cli_offer -f "${names[@]}"
}

# Offers the paths of the folders of notebook $1, each after the prefix $2.
_quillbox_cli_paths()
{
    local notebook=$1 paths=() path
    # A leading "~/" as the shell expands it.
    [[ "$notebook" == "~/"* ]] && notebook=$HOME/${notebook:2}
    mapfile -d '' -t paths < <(quillbox-cli tree --paths -z -- "$notebook" 2>/dev/null)
    for path in "${!paths[@]}"; do
        paths[path]=$2${paths[path]}
    done
    _quillbox_cli_offer "${paths[@]}"
}

_quillbox_cli()
{
    local words quote quoted
    _quillbox_cli_split "${COMP_LINE:0:COMP_POINT}"
    local cword=$((${#words[@]} - 1))
    local cur=${words[cword]} prev=""
    ((cword > 0)) && prev=${words[cword - 1]}
    # What the shell leaves of the word: before the quote still open, or before $2, the part
    # after the last ":" or "=" outside quotes.
    local before=${cur:0:quoted}
    if [ -z "$quote" ]; then
        local typed=${COMP_LINE:0:COMP_POINT} all=("${words[@]}")
        _quillbox_cli_split "${typed%"$2"}"
        before=${words[${#words[@]} - 1]}
        words=("${all[@]}") quote=""
    fi

    if [ "$cword" -eq 1 ]; then
        _quillbox_cli_offer new tree cat grep add export import check resave merge diff log show restore history-limit help --help --version -v
        return
    fi
    local command=${words[1]}
    if [ "$command" = help ] || [ "$command" = --help ] || [ "$command" = -h ]; then
        [ "$cword" -eq 2 ] && _quillbox_cli_offer new tree cat grep add export import check resave merge diff log show restore history-limit
        return
    fi

    # The command's options that take the next word as their value.
    local valued=""
    case "$command" in
        grep) valued="--path -m -A -B -C" ;;
        export) valued="--format -o" ;;
        check) valued="--repair" ;;
        merge) valued="-o -L --notebook" ;;
    esac
    # The operands typed so far, options and their values left out.
    local operands=() i word bOperands=false
    for ((i = 2; i < cword; i++)); do
        word=${words[i]}
        if $bOperands; then
            operands+=("$word")
            continue
        fi
        case "$word" in
            --) bOperands=true ;;
            -?*) [[ " $valued " == *" $word "* ]] && ((i++)) ;;
            *) operands+=("$word") ;;
        esac
    done
    local position=$((${#operands[@]} + 1))

    # The value of an option, as its own word or after "=".
    if [[ " $valued " == *" $prev "* ]]; then
        case "$prev" in
            --format) _quillbox_cli_offer text markdown html fol ;;
            -o | --repair) _quillbox_cli_files ;;
            --notebook) _quillbox_cli_files not ;;
            --path) [ ${#operands[@]} -ge 1 ] && _quillbox_cli_paths "${operands[0]}" "" ;;
        esac
        return
    fi
    case "$cur" in
        --format=*)
            _quillbox_cli_offer --format={text,markdown,html,fol}
            return
            ;;
        --color=*)
            _quillbox_cli_offer --color={auto,always,never}
            return
            ;;
        --path=*)
            [ ${#operands[@]} -ge 1 ] && _quillbox_cli_paths "${operands[0]}" --path=
            return
            ;;
    esac

    if ! $bOperands && [[ "$cur" == -* ]]; then
        local options=""
        case "$command" in
            tree) options="--paths -z --json" ;;
            grep) options="-i -w -x -E -v -n -o -c -l -q -m -A -B -C --color --json --path" ;;
            add) options="--create --force" ;;
            import | resave) options="--force" ;;
            export) options="--format -o" ;;
            check) options="--repair --force" ;;
            merge) options="--union -o -L --notebook --force" ;;
            restore) options="--force" ;;
        esac
        # shellcheck disable=SC2086
        _quillbox_cli_offer $options --raw --help
        return
    fi

    # grep takes notebooks up to its last operand, the pattern.
    case "$command:$position" in
        new:1 | tree:1 | cat:1 | grep:* | add:1 | export:1 | import:1 | check:1 | resave:1 | resave:2 | \
            merge:[123] | diff:[12] | log:1 | show:1 | restore:1)
            _quillbox_cli_files not
            ;;
        import:2)
            _quillbox_cli_files fol
            ;;
        cat:2 | add:2 | export:2 | import:3 | log:2)
            _quillbox_cli_paths "${operands[0]}" ""
            ;;
    esac
}

complete -F _quillbox_cli quillbox-cli
