#!/bin/sh
# The windows, lists and dialogs below the main window reach the program
# through desk/IDesk.h; only the main window's own parts and the application
# object that makes it include the main window.
src="$1/src"
found=$(grep -rln '#include "mainwnd/CMainWindow.h"' "$src" | grep -v -e '/src/mainwnd/' -e '/src/app/CQuilletApp.cpp$')
if [ -n "$found" ]; then
  echo "These include mainwnd/CMainWindow.h; use the interface in desk/IDesk.h instead:"
  echo "$found"
  exit 1
fi
