#!/usr/bin/env bash
# The manual page of zadanix names the same commands, with the same arguments, as the tool's own help,
# and every option the help names.
#   check-man-page.sh ZADANIX MANPAGE
set -euo pipefail
tool=$1
page=$2

# Usage lines of every command, a command with actions (pack) giving one per action.
from_help() {
  local command action
  for command in $("$tool" --help | awk '/^Commands:/ { f = 1; next } f && /^  [a-z]/ { print $1 } /^$/ { f = 0 }'); do
    if grep -q '^Actions:' <<<"$("$tool" "$command" --help)"; then
      for action in $("$tool" "$command" --help | awk '/^Actions:/ { f = 1; next } f && /^  [a-z]/ { print $1 } /^$/ { f = 0 }'); do
        "$tool" "$command" "$action" --help | sed -n 's/^Usage: //p'
      done
    else
      "$tool" "$command" --help | sed -n 's/^Usage: //p'
    fi
  done
}

# The page's text without font changes and with plain hyphens.
plain() { sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page"; }

# The item lines of the COMMANDS section.
from_page() {
  plain | awk '/^\.SH / { f = ($2 == "COMMANDS") ; next } f && /^\.B zadanix / { sub(/^\.B /, ""); print }'
}

help_list=$(from_help | sort)
page_list=$(from_page | sort)
[ -n "$help_list" ] || { echo "no commands in zadanix --help" >&2; exit 1; }
if [ "$help_list" != "$page_list" ]; then
  echo "zadanix --help and the manual page name different commands:" >&2
  diff <(echo "$help_list") <(echo "$page_list") >&2 || true
  exit 1
fi

# Every option the help texts name is in the page.
page_text=$(plain)
status=0
for option in $({ "$tool" --help; for c in $(from_help | awk '{ print $2 }' | sort -u); do "$tool" "$c" --help; done; } |
                grep -oE -- '--[a-z][a-z-]*' | sort -u); do
  # Not "plain | grep -q": grep leaving early would fail the pipe under pipefail.
  if ! grep -qe "$option" <<<"$page_text"; then
    echo "the manual page does not name $option" >&2
    status=1
  fi
done
# The sections a manual page of a command has.
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES; do
  grep -qx "\.SH \"\?$section\"\?" "$page" || { echo "the manual page has no $section section" >&2; status=1; }
done
exit $status
