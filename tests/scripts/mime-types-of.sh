#!/usr/bin/env bash
# The MIME types whose glob in a shared-mime-info globs2 file matches a file name, one a line,
# as a desktop matches them: patterns marked "cs" as they are, the others in lower case.
#   mime-types-of.sh GLOBS2 NAME
set -euo pipefail
globs=$1
name=$2
lower=${name,,}
while IFS=: read -r weight type pattern flags; do
  if [[ $weight == \#* || -z $pattern ]]; then continue; fi
  subject=$lower
  if [[ $flags == *cs* ]]; then subject=$name; fi
  # shellcheck disable=SC2053  # the right side is the glob
  if [[ $subject == $pattern ]]; then echo "$type"; fi
done <"$globs" | sort -u
