# SPDX-License-Identifier: MIT
# bash completion for dbsift-compare: its options, the values of --format and --direction, folders for
# --create-samples, and database files or dsn:NAME (the machine's ODBC data sources) for the
# two databases.

_dbsift_compare_data_sources() {
    # odbcinst -q -s lists the data sources as [NAME] lines, user's and system's.
    command -v odbcinst >/dev/null 2>&1 || return
    odbcinst -q -s 2>/dev/null | sed -n 's/^\[\(.*\)\]$/dsn:\1/p'
}

_dbsift_compare() {
    local cur prev words cword
    _init_completion -n : || return

    case $prev in
    --format)
        COMPREPLY=($(compgen -W 'text json csv' -- "$cur"))
        return
        ;;
    --create-samples)
        _filedir -d
        return
        ;;
    --comparison)
        _filedir json
        return
        ;;
    --sql-script)
        _filedir sql
        return
        ;;
    --undo)
        _filedir xml
        return
        ;;
    --direction)
        COMPREPLY=($(compgen -W 'to-modified to-original' -- "$cur"))
        return
        ;;
    --table | --columns | --key | --ignore-columns | --user | --tolerance | --where | --where-original | --where-modified)
        return
        ;;
    --time-precision)
        COMPREPLY=($(compgen -W 's ms us' -- "$cur"))
        return
        ;;
    --password-env)
        COMPREPLY=($(compgen -v -- "$cur"))
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help --version --fields --views --differences-only --types-by-family --table
            --columns --data --key --ignore-columns --ignore-case --ignore-blanks --null-is-empty
            --tolerance --time-precision --where --where-original --where-modified --format --user
            --password-env --show-sql --comparison --sql-script --apply --yes --direction --undo
            --create-samples' -- "$cur"))
        return
    fi
    if [[ $cur == d* ]]; then
        local IFS=$'\n'
        COMPREPLY=($(compgen -W "$(_dbsift_compare_data_sources)" -- "$cur"))
        __ltrim_colon_completions "$cur"
    fi
    _filedir
} &&
    complete -F _dbsift_compare dbsift-compare
