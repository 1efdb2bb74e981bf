# SPDX-License-Identifier: MIT
# bash completion for quorvella-cli. The commands, their options and what
# each option takes are read from the program's own --help, so the completion
# knows every command the installed program has.

# The help of the program, or of the command whose words follow the program.
_quorvella_cli_help()
{
    LC_ALL=C "$@" --help 2>/dev/null
}

# The commands that may follow the last word of a command: the "Commands:"
# list of the program's help, or the words after that last word in the usage
# line ("registry import FILE.reg | registry export [KEY]").
_quorvella_cli_commands()
{
    local help=$1 last=$2
    if [[ -z $last ]]; then
        awk '/^Commands:/ { inside = 1; next } inside && /^$/ { exit } inside { print $1 }' <<<"$help"
        return
    fi
    awk -v last="$last" 'NR == 1 {
        for (i = 1; i < NF; i++)
            if ($i == last && $(i + 1) ~ /^[a-z][a-z0-9-]*$/) print $(i + 1)
        exit
    }' <<<"$help"
}

# Each option of a help text on a line of its own, with what it takes:
# "--mode standard|enhanced", "--all", "-h".
_quorvella_cli_options()
{
    awk '/^Options:/ { inside = 1; next }
        inside && /^  -/ {
            sub(/^  /, "")
            if ($1 == "-h,") { print "-h"; $1 = "" ; sub(/^ /, "") }
            if ($2 ~ /^[^ ]/ && substr($0, length($1) + 2, 1) != " ") print $1 " " $2
            else print $1
        }' <<<"$1"
}

_quorvella_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    local program=${words[0]} help word i last=""
    local -a path=()
    help=$(_quorvella_cli_help "$program")
    # The command words typed so far; options and their values are passed over.
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        if [[ $word == -* ]]; then
            if [[ $word != *=* ]] && _quorvella_cli_options "$help" | grep -q -- "^$word [^ ]"; then
                ((i++))
            fi
            continue
        fi
        if _quorvella_cli_commands "$help" "$last" | grep -qx -- "$word"; then
            path+=("$word")
            last=$word
            help=$(_quorvella_cli_help "$program" "${path[@]}")
        fi
    done

    # The value of an option: files, folders or the choices it names.
    local taken
    taken=$(_quorvella_cli_options "$help" | awk -v o="$prev" '$1 == o { print $2 }')
    if [[ -z $taken && ${#path[@]} -gt 0 ]]; then
        # An option of the program, given before the command.
        taken=$(_quorvella_cli_options "$(_quorvella_cli_help "$program")" |
            awk -v o="$prev" '$1 == o { print $2 }')
    fi
    if [[ -n $taken ]]; then
        case $taken in
            FILE.*) _filedir "${taken#FILE.}" ;;
            FILE) _filedir ;;
            DIR) _filedir -d ;;
            *\|*) COMPREPLY=($(compgen -W "${taken//|/ }" -- "$cur")) ;;
        esac
        return
    fi
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_quorvella_cli_options "$help" | awk '{ print $1 }')" -- "$cur"))
        return
    fi
    local commands
    commands=$(_quorvella_cli_commands "$help" "$last")
    if [[ -n $commands ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi
    # A file the command takes, as its usage line names it ("FILE.reg").
    local usage=${help%%$'\n'*}
    if [[ $usage =~ \ FILE\.([a-z0-9]+) ]]; then
        _filedir "${BASH_REMATCH[1]}"
    elif [[ $usage == *" FILE"* ]]; then
        _filedir
    fi
} &&
    complete -F _quorvella_cli quorvella-cli
