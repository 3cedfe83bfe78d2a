#pragma once
#include <QAction>
#include <QMenu>
#include <QString>

#include "app/UIStrings.h"
#include "app/Paths.h"

namespace quillet {

// A text of the program in the user's language; strip drops the menu accelerator marks.
inline QString Ui(int id, bool strip = false) { return FromLocal(LoadUIString(id, strip)); }

// A menu item that carries its command id.
inline QAction* AddItem(QMenu& menu, int id, const QString& text, bool enabled = true) {
  QAction* a = menu.addAction(text);
  a->setData(id);
  a->setEnabled(enabled);
  return a;
}

}  // namespace quillet
