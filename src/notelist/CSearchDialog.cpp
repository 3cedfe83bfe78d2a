#include "notelist/CSearchDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/DialogParts.h"
#include "common/Text.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {

namespace {
}

CSearchDialog::CSearchDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Ui(Str::QuilletSearch));
  text = new QComboBox(this);
  text->setEditable(true);
  text->setInsertPolicy(QComboBox::NoInsert);
  // "Anna" typed is searched as "Anna", not completed into an "anna" from the history.
  text->completer()->setCaseSensitivity(Qt::CaseSensitive);
  caseSensitive = new QCheckBox(Ui(Str::CaseSensitive), this);
  wholeWord = new QCheckBox(Ui(Str::WholeWordOnly), this);
  auto* buttons = MakeOkCancel(this);
  ok = buttons->button(QDialogButtonBox::Ok);
  auto* all = new QVBoxLayout(this);
  all->addWidget(text);
  all->addWidget(caseSensitive);
  all->addWidget(wholeWord);
  all->addWidget(buttons);

  const CSettings& s = AppSettings();
  for (const std::string& h : s.GetStringList("Search")) text->addItem(FromLocal(h));
  text->setEditText(FromLocal(s.String("SearchLast")));
  caseSensitive->setChecked(s.Flag("SearchCase"));
  wholeWord->setChecked(s.Flag("SearchWord"));
  auto update = [this] { ok->setEnabled(!text->currentText().trimmed().isEmpty()); };
  connect(text, &QComboBox::editTextChanged, this, update);
  update();
}

void CSearchDialog::accept() {
  const std::string t = Trim(ToLocal(text->currentText()));
  if (t.empty()) return;
  CSettings& s = AppSettings();
  std::vector<std::string> history = s.GetStringList("Search");
  history.erase(std::remove_if(history.begin(), history.end(), [&](const std::string& h) { return EqualsNoCase(h, t); }),
                history.end());
  history.insert(history.begin(), t);
  if (history.size() > 16) history.resize(16);
  s.WriteStringList("Search", history);
  s.WriteString("Settings", "SearchLast", t);
  s.WriteInt("Settings", "SearchCase", caseSensitive->isChecked() ? 1 : 0);
  s.WriteInt("Settings", "SearchWord", wholeWord->isChecked() ? 1 : 0);
  m_result = {t, caseSensitive->isChecked(), wholeWord->isChecked()};
  QDialog::accept();
}

}  // namespace quillet
