#!/usr/bin/env bash
# The parts of Qt the course does not use, as configure options, for the Qt builds made for other
# platforms (scripts/windows-qt.sh, scripts/web-qt.sh): of Qt Widgets it uses plain widgets,
# push buttons, labels, frames and the message box, in the Fusion and Windows styles; of Qt Gui
# no movies, no documents written or read but plain and rich text. (QInputDialog stays: the
# Windows Vista style includes it whatever the features say.)
set -euo pipefail
unused=(
  # widgets
  treewidget listwidget tablewidget columnview datawidgetmapper commandlinkbutton datetimeedit
  calendarwidget keysequenceedit textbrowser syntaxhighlighter splashscreen formlayout lcdnumber
  fontcombobox toolbox dockwidget mdiarea graphicsview graphicseffect undoview fscompleter
  style-stylesheet
  # dialogs
  colordialog filedialog fontdialog progressdialog errormessage wizard
  # gui
  movie pdf textodfwriter textmarkdownreader textmarkdownwriter
)
printf -- '-no-feature-%s\n' "${unused[@]}"
