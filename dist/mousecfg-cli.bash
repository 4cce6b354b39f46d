# Bash completion of mousecfg-cli: options, commands, the settings of "set" and their fixed values, files for
# import, export and macro-write.
_mousecfg_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="devices info show set profile apply export import reset macro macro-write"
    local settings="dpi dpi-enable dpi-colour active-dpi rate light-mode brightness speed direction light-colour
        light-colour-enable button fire power-save sleep-time pd-time short-press lod straight-line ripple
        smooth-line jitter move-wake"

    case $prev in
        --simulate) COMPREPLY=($(compgen -W "cable receiver ble" -- "$cur")); return ;;
        --res) _filedir -d; return ;;
    esac

    # The command is the first word that is neither an option nor an option's value.
    local i command="" position=0
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --simulate | --res) ((i++)) ;;
            -*) ;;
            *) if [[ -z $command ]]; then command=${words[i]}; else ((position++)); fi ;;
        esac
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--simulate --trace --res --help" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    case $command in
        show) ((position == 0)) && COMPREPLY=($(compgen -W "--json" -- "$cur")) ;;
        apply) ((position == 0)) && COMPREPLY=($(compgen -W "--full" -- "$cur")) ;;
        import | export) ((position == 0)) && _filedir Config ;;
        macro) ((position == 0)) && COMPREPLY=($(compgen -W "list bind" -- "$cur")) ;;
        macro-write) ((position == 1)) && _filedir json ;;
        set)
            if ((position == 0)); then
                COMPREPLY=($(compgen -W "$settings" -- "$cur"))
            elif ((position == 1)); then
                case ${words[cword - 1]} in
                    power-save | straight-line | ripple | smooth-line | jitter | move-wake)
                        COMPREPLY=($(compgen -W "on off" -- "$cur")) ;;
                    lod) COMPREPLY=($(compgen -W "0 1" -- "$cur")) ;;
                esac
            elif ((position == 2)); then
                case ${words[cword - 2]} in
                    dpi-enable | light-colour-enable) COMPREPLY=($(compgen -W "on off" -- "$cur")) ;;
                esac
            fi
            ;;
    esac
} &&
    complete -F _mousecfg_cli mousecfg-cli
