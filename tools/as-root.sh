# Sourced by the scripts that change the system: the words that run a
# command as root. sudo for an ordinary user; root runs the commands as they
# are. sudo resets the environment, so variables a command needs go through
# env (e.g. "${as_root[@]}" env NAME=value command).
# shellcheck shell=bash
# shellcheck disable=SC2034  # read by the scripts that source this file
as_root=()
[ "$(id -u)" = 0 ] || as_root=(sudo)
