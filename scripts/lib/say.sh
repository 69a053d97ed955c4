# Progress lines for scripts/setup and scripts/run, each stamped with how
# long the command has been at work: minutes and seconds since
# TERVANE_STARTED (seconds since the epoch), which the first script of the
# command sets and the ones it starts inherit.

: "${TERVANE_STARTED:=$(date +%s)}"
export TERVANE_STARTED

say() {
    local s=$(($(date +%s) - TERVANE_STARTED))
    printf '[%d:%02d] %s\n' $((s / 60)) $((s % 60)) "$*"
}
