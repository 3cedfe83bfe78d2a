#!/bin/sh
# Command and text ids are named in app/Ids.h; the string table is the only
# other place their numbers may appear, so a reader never looks a number up.
src="$1/src"
found=$(grep -rnE '(^|[^0-9A-Za-z_.])(3[0-2][0-9]{3}|4[0-2][0-9]{3})([^0-9A-Za-z_.]|$)' "$src" \
  --include='*.cpp' --include='*.h' | grep -v -e '/app/Ids.h:' -e '/app/UIStringTable.cpp:' \
  | grep -v 'kMaxNotes = 32767')
if [ -n "$found" ]; then
  echo "Bare id numbers (name them in app/Ids.h):"
  echo "$found"
  exit 1
fi
