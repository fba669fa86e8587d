# Sourced by the scripts that run the window under test (sound_run.sh,
# rewind_run.sh): the machine they were asked for.

# Prints the settings store's emulation/accurate_machine value for MACHINE
# (classic or accurate); anything else is a usage error of SCRIPT.
accurate_machine_setting() {
    case $1 in
        classic) echo false ;;
        accurate) echo true ;;
        *) echo "$2: MACHINE is classic or accurate, not '$1'" >&2; return 2 ;;
    esac
}
