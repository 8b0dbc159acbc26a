#!/bin/sh
# Writes the manual page of celestra-cli: the template with every
# subcommand's --help text where the line @SUBCOMMANDS@ stands, so the page
# and the program can never disagree.
#
#   sh tools/make_cli_manual.sh CELESTRA-CLI TEMPLATE VERSION MONTH OUTPUT
set -eu
cli=$1 template=$2 version=$3 month=$4 out=$5

fill() { sed -e "s/@PROJECT_VERSION@/$version/g" -e "s/@CELESTRA_RELEASE_MONTH@/$month/g"; }

# Literal text for roff: backslashes, a dot or quote that would start a
# request, and hyphens (a plain "-" may print as a typographic hyphen, which
# cannot be pasted as an option).
literal() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/" -e 's/-/\\-/g'; }

subcommands=$("$cli" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z][a-z0-9]*\) .*/\1/p')
[ -n "$subcommands" ] || { echo "make_cli_manual: $cli lists no subcommands" >&2; exit 1; }

{
  sed '/^@SUBCOMMANDS@$/,$d' "$template" | fill
  for name in $subcommands; do
    printf '.SS %s\n.nf\n' "$name"
    "$cli" "$name" --help | literal
    printf '.fi\n'
  done
  sed '1,/^@SUBCOMMANDS@$/d' "$template" | fill
} > "$out.tmp"
mv "$out.tmp" "$out"
