#!/bin/sh
# Starts Verbaro Tool from where it is installed, beside its readme and example dictionaries.
exec "$(dirname "$(readlink -f "$0")")/../lib/verbaro/verbaro" "$@"
