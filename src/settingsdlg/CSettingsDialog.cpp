#include "settingsdlg/CSettingsDialog.h"

#include <type_traits>
#include <tuple>
#include <variant>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QAbstractSpinBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include "app/Autostart.h"
#include "app/IniFile.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/DialogParts.h"
#include "common/Text.h"
#include "alarm/CSound.h"
#include "controls/CFileDialog.h"
#include "controls/CMessageBox.h"
#include "controls/QtDateNames.h"
#include "controls/CModal.h"
#include "notewnd/CColorListDialog.h"
#include "controls/Platform.h"
#include "desk/IDesk.h"
#include "mainwnd/Hotkeys.h"
#include "net/TransferProtocol.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/NoteGeometry.h"
#include "notewnd/NoteMeasure.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {

namespace {
QString Plain(int id) { return FromLocal(LoadUIString(id, true)); }

// The calendar's colours where its layout sets none: the desktop's own, in
// the order of kCalendarColorKeys.
std::array<ColorRef, 6> DesktopCalendarColors() {
  const QPalette p = QApplication::palette();
  return {FromQColor(p.color(QPalette::Window)), FromQColor(p.color(QPalette::Base)), FromQColor(p.color(QPalette::Text)),
          FromQColor(p.color(QPalette::Disabled, QPalette::Text)), FromQColor(p.color(QPalette::Highlight)),
          FromQColor(p.color(QPalette::HighlightedText))};
}

void PaintButton(QPushButton* b, ColorRef c) {
  b->setStyleSheet(QStringLiteral("QPushButton { background: %1; }").arg(ToQColor(c).name()));
  b->setProperty("color", static_cast<uint>(c));
}
ColorRef ButtonColor(const QPushButton* b) { return b->property("color").toUInt(); }

// A colour button asks for its colour when clicked; then calls changed.
void AskColorOnClick(QPushButton* b, QWidget* parent, std::function<void()> changed = {}) {
  QObject::connect(b, &QPushButton::clicked, parent, [b, parent, changed] {
    const QColor c = QColorDialog::getColor(ToQColor(ButtonColor(b)), parent);
    if (!c.isValid()) return;
    PaintButton(b, FromQColor(c));
    if (changed) changed();
  });
}

QString FontLabel(const LogFont& f) { return FromLocal(f.FaceName()) + QStringLiteral(", %1 px").arg(std::abs(f.height)); }

// Asks for a font starting from f; true when one was chosen.
bool AskFont(LogFont& f, QWidget* parent) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, FontFromLogFont(f), parent);
  if (ok) f = LogFontFromFont(chosen);
  return ok;
}

// A labelled row whose marked letter reaches the field inside the row's widget.
void AddRow(QFormLayout* form, int label, QWidget* row, QWidget* field) {
  auto* l = new QLabel(Ui(label), row->parentWidget());
  l->setBuddy(field);
  form->addRow(l, row);
}

// A field with a button beside it, as one row.
QWidget* WithButton(QWidget* parent, QWidget* field, QPushButton* button) {
  auto* box = new QWidget(parent);
  auto* h = new QHBoxLayout(box);
  h->setContentsMargins(0, 0, 0, 0);
  h->addWidget(field, 1);
  h->addWidget(button);
  return box;
}

// The transparency controls of a layout: the colour made fully transparent
// (none or one of the given colours) and the opacity of the rest.
void FillTransparency(QComboBox* key, QSlider* alpha, std::initializer_list<int> colourNames, int value) {
  key->addItem(Plain(Str::None));
  for (int id : colourNames) key->addItem(Plain(id));
  alpha->setRange(0, 255);
  const TransparencySpec t = DecodeTransparency(value);
  key->setCurrentIndex(std::clamp(t.keyIndex + 1, 0, key->count() - 1));
  alpha->setValue(t.alpha ? t.opacity : 255);
}
int TransparencyOf(const QComboBox* key, const QSlider* alpha) { return key->currentIndex() * 1000 + alpha->value(); }

// A note drawn as a layout would make it.
class CLayoutPreview : public QWidget {
 public:
  CLayoutPreview(QWidget* parent, std::function<LayoutValues()> values, ColorRef desktop)
      : QWidget(parent), m_values(std::move(values)), m_desktop(desktop) {
    setMinimumSize(160, 60);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    CNote note;
    ApplyLayoutValues(note, m_values());
    const EffectiveColors c = EffectiveColorsOf(note, m_desktop);
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, ToQColor(c.back));
    p.setPen(ToQColor(c.border));
    p.drawRect(all.adjusted(0, 0, -1, -1));
    p.setPen(ToQColor(c.text));
    DrawText(p, all.adjusted(kEdgeX, kEdgeY, -kEdgeX, -kEdgeY), TextStyle{FontFromLogFont(note.Font), note.Align, 8},
             Plain(Str::Preview));
  }

 private:
  std::function<LayoutValues()> m_values;
  ColorRef m_desktop;
};

QCheckBox* Check(QWidget* parent, int id, bool on) {
  auto* c = new QCheckBox(Ui(id), parent);
  c->setChecked(on);
  return c;
}
QSpinBox* Spin(QWidget* parent, int lo, int hi, int value) {
  auto* s = new QSpinBox(parent);
  s->setRange(lo, hi);
  s->setValue(value);
  return s;
}

// Qt's key to the virtual-key code the stored value carries.
constexpr std::pair<int, int> kQtKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},    {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D},
    {Qt::Key_Pause, 0x13},     {Qt::Key_Escape, 0x1B}, {Qt::Key_Space, 0x20},  {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},  {Qt::Key_End, 0x23},    {Qt::Key_Home, 0x24},   {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},        {Qt::Key_Right, 0x27},  {Qt::Key_Down, 0x28},   {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},    {Qt::Key_Delete, 0x2E}, {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Equal, 0xBB},
    {Qt::Key_Comma, 0xBC},     {Qt::Key_Minus, 0xBD},  {Qt::Key_Period, 0xBE}, {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE}};

// Qt's key to the virtual-key code the stored value carries, and back.
int VirtualKeyOfQtKey(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  for (const auto& [q, vk] : kQtKeys)
    if (q == key) return vk;
  return 0;
}
int QtKeyOfVirtualKey(int vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return vk;
  if (vk >= 0x70 && vk <= 0x87) return Qt::Key_F1 + (vk - 0x70);
  for (const auto& [q, v] : kQtKeys)
    if (v == vk) return q;
  return 0;
}
}  // namespace

// ---- Layout -----------------------------------------------------------------

CSettingsLayout::CSettingsLayout(QWidget* parent, const LayoutValues& v, bool noteMode, ColorRef desktop)
    : QWidget(parent), m_values(v) {
  auto* form = new QFormLayout(this);
  font = new QPushButton(Ui(Str::Font), this);
  text = new QPushButton(this);
  back = new QPushButton(this);
  border = new QPushButton(this);
  autoText = new QCheckBox(Plain(Str::Automatic), this);
  autoBorder = new QCheckBox(Plain(Str::Automatic), this);
  align = new QComboBox(this);
  align->addItems({Plain(Str::AlignLeft), Plain(Str::AlignCentered), Plain(Str::AlignRight)});
  desk = Check(this, Str::UseDesktopColors, v.deskColor);
  random = Check(this, Str::UseRandomColors, v.randomColor);
  randomList = Check(this, Str::RandomColorsFromList, v.randColList);
  key = new QComboBox(this);
  alpha = new QSlider(Qt::Horizontal, this);
  FillTransparency(key, alpha, {Str::KeyTextColor, Str::KeyBackgroundColor, Str::KeyBorderColor}, v.transparency);
  preview = new CLayoutPreview(this, [this] { return Values(); }, desktop);
  form->addRow(preview);
  form->addRow(font);
  auto row = [&](int label, QWidget* w, QWidget* extra = nullptr) {
    auto* box = new QWidget(this);
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(w);
    if (extra) h->addWidget(extra);
    AddRow(form, label, box, w);
  };
  row(Str::LayoutTextColor, text, autoText);
  row(Str::LayoutBackgroundColor, back);
  row(Str::LayoutBorderColor, border, autoBorder);
  row(Str::Alignment, align);
  form->addRow(desk);
  form->addRow(random);
  form->addRow(randomList);
  row(Str::CompletelyTransparentColor, key);
  row(Str::InfinitelyVariableTransparency, alpha);
  colorList = new QPushButton(Plain(Str::QuilletColorList) + QStringLiteral("..."), this);
  form->addRow(colorList);
  connect(colorList, &QPushButton::clicked, this, [this] {
    CColorListDialog dialog(this);
    CModal::Run(dialog);
  });
  if (!noteMode) {
    // The named layouts: choose one to edit, save under a name, delete.
    layouts = new QComboBox(this);
    save = new QPushButton(Ui(Str::Save), this);
    remove = new QPushButton(Ui(Str::DeleteLayout), this);
    row(Str::Layouts, layouts, save);
    form->addRow(remove);
    FillLayouts(0);
    connect(layouts, &QComboBox::currentIndexChanged, this, [this](int i) {
      if (i < 0) return;
      Load(ReadLayout(AppSettings(), layouts->itemData(i).toInt()));
      remove->setEnabled(i > 0);
    });
    connect(save, &QPushButton::clicked, this, [this] {
      QDialog ask(this);
      ask.setWindowTitle(Ui(Str::SaveLayout));
      auto* label = new QLabel(Plain(Str::NameOfTheLayout), &ask);
      auto* name = new QComboBox(&ask);
      name->setEditable(true);
      for (int i = 1; i < layouts->count(); ++i) name->addItem(layouts->itemText(i));
      name->setCurrentIndex(-1);
      label->setBuddy(name);
      QDialogButtonBox* buttons = MakeOkCancel(&ask);
      QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
      // A layout needs a name.
      const auto check = [ok](const QString& t) { ok->setEnabled(!t.trimmed().isEmpty()); };
      connect(name, &QComboBox::editTextChanged, ok, check);
      check(name->currentText());
      auto* column = new QVBoxLayout(&ask);
      column->addWidget(label);
      column->addWidget(name);
      column->addWidget(buttons);
      if (CModal::Run(ask) != QDialog::Accepted) return;
      const std::string chosen = Trim(ToLocal(name->currentText()));
      if (!chosen.empty()) SaveAs(chosen);
    });
    connect(remove, &QPushButton::clicked, this, &CSettingsLayout::DeleteSelected);
  }

  Load(v);
  // The three colour options exclude one another, and while one is on the
  // colour buttons have nothing to say.
  for (QCheckBox* option : {desk, random, randomList})
    connect(option, &QCheckBox::toggled, this, [this, option](bool on) {
      if (on)
        for (QCheckBox* other : {desk, random, randomList})
          if (other != option) other->setChecked(false);
      const bool any = desk->isChecked() || random->isChecked() || randomList->isChecked();
      for (QWidget* w : {static_cast<QWidget*>(text), static_cast<QWidget*>(back), static_cast<QWidget*>(border),
                         static_cast<QWidget*>(autoText), static_cast<QWidget*>(autoBorder)})
        w->setEnabled(!any);
      if (any && on) {
        autoText->setChecked(true);
        autoBorder->setChecked(true);
      }
    });
  connect(font, &QPushButton::clicked, this, [this] {
    if (!AskFont(m_values.font, this)) return;
    font->setText(FontLabel(m_values.font));
    preview->update();
  });
  AskColorOnClick(text, this, [this] { autoText->setChecked(false); });
  AskColorOnClick(back, this);
  AskColorOnClick(border, this, [this] { autoBorder->setChecked(false); });
  // The preview follows every change.
  for (QPushButton* b : {text, back, border}) connect(b, &QPushButton::clicked, preview, qOverload<>(&QWidget::update));
  for (QCheckBox* c : {autoText, autoBorder, desk, random, randomList}) connect(c, &QCheckBox::toggled, preview, qOverload<>(&QWidget::update));
  connect(align, &QComboBox::currentIndexChanged, preview, qOverload<>(&QWidget::update));
}

void CSettingsLayout::Load(const LayoutValues& v) {
  m_values = v;
  PaintButton(text, v.colorText == kColorAutomatic ? 0 : v.colorText);
  PaintButton(back, v.colorBack & 0x00FFFFFF);
  PaintButton(border, v.colorBorder == kColorAutomatic ? 0 : v.colorBorder);
  autoText->setChecked(v.colorText == kColorAutomatic);
  autoBorder->setChecked(v.colorBorder == kColorAutomatic);
  align->setCurrentIndex(std::clamp<int>(v.align, 0, 2));
  desk->setChecked(v.deskColor);
  random->setChecked(v.randomColor);
  randomList->setChecked(v.randColList);
  const TransparencySpec t = DecodeTransparency(v.transparency);
  key->setCurrentIndex(t.keyIndex + 1);
  alpha->setValue(t.alpha ? t.opacity : 255);
  font->setText(FontLabel(v.font));
  preview->update();
}

void CSettingsLayout::FillLayouts(int select) {
  const QSignalBlocker block(layouts);
  layouts->clear();
  layouts->addItem(Plain(Str::StandardLayout), 0);
  const CSettings& s = AppSettings();
  for (int n : s.GetLayoutList()) layouts->addItem(FromLocal(s.GetString(LayoutSection(n), "Name")), n);
  layouts->setCurrentIndex(std::max(0, layouts->findData(select)));
  remove->setEnabled(layouts->currentIndex() > 0);
}

int CSettingsLayout::SaveAs(const std::string& name) {
  const int number = SaveLayout(AppSettings(), name, Values());
  FillLayouts(number);
  return number;
}

void CSettingsLayout::DeleteSelected() {
  if (!layouts || layouts->currentIndex() < 1) return;
  DeleteLayout(AppSettings(), layouts->currentData().toInt());
  FillLayouts(0);
  // The fields show the standard layout that is now selected, so OK does not
  // save the deleted layout's values under its name.
  Load(ReadLayout(AppSettings(), 0));
}

LayoutValues CSettingsLayout::Values() const {
  LayoutValues v = m_values;
  v.colorText = autoText->isChecked() ? kColorAutomatic : ButtonColor(text);
  v.colorBack = ButtonColor(back);
  v.colorBorder = autoBorder->isChecked() ? kColorAutomatic : ButtonColor(border);
  v.align = static_cast<uint16_t>(align->currentIndex());
  v.deskColor = desk->isChecked();
  v.randomColor = random->isChecked();
  v.randColList = randomList->isChecked();
  v.transparency = TransparencyOf(key, alpha);
  return v;
}

// ---- New note ------------------------------------------------------------------

CSettingsNewnote::CSettingsNewnote(QWidget* parent, IDesk& main) : QWidget(parent) {
  const CSettings& s = AppSettings();
  auto* form = new QFormLayout(this);
  left = Spin(this, -10000, 10000, s.Int("NewLeft"));
  top = Spin(this, -10000, 10000, s.Int("NewTop"));
  right = Spin(this, -1000, 1000, s.Int("NewRight"));
  bottom = Spin(this, -1000, 1000, s.Int("NewBottom"));
  minimize = Check(this, Str::MinimizeNote, s.Flag("NewMinimize"));
  alarm = Check(this, Str::OpenAlarmWindow, s.Flag("NewAlarm"));
  folder = new QComboBox(this);
  folder->addItem(Plain(Str::NoFolder));
  for (const auto& f : main.FolderList()) folder->addItem(FromLocal(f));
  folder->setCurrentIndex(std::clamp(s.Int("NewFolder"), 0, folder->count() - 1));
  text = new QPlainTextEdit(FromLocal(s.String("NewText")), this);
  text->setMaximumHeight(80);
  insert = new QPushButton(Ui(Str::Insert), this);
  preview = new QLineEdit(this);
  preview->setReadOnly(true);
  preview->setAccessibleName(Plain(Str::Preview));
  const auto showPreview = [this] {
    std::string now = ExpandNow(ToLocal(text->toPlainText()));
    TakeCaretMarker(now);
    preview->setText(FromLocal(now).replace(QLatin1Char('\n'), QLatin1Char(' ')));
  };
  connect(text, &QPlainTextEdit::textChanged, preview, showPreview);
  showPreview();
  // Every date and time code, each shown with what it gives now.
  connect(insert, &QPushButton::clicked, this, [this, &main] {
    QMenu menu(this);
    for (int id = Str::DateCodeFirst; id <= Str::DateCodeLast; ++id) {
      const QString label = main.DateMenuLabel(id, true);
      menu.addAction(label)->setData(label.left(label.indexOf(QLatin1Char(' '))));
    }
    if (QAction* chosen = menu.exec(insert->mapToGlobal(QPoint(0, insert->height())))) {
      text->insertPlainText(chosen->data().toString());
      text->setFocus();
    }
  });
  form->addRow(Ui(Str::PositionLeft), left);
  form->addRow(Ui(Str::PositionTop), top);
  form->addRow(Ui(Str::ToRight), right);
  form->addRow(Ui(Str::ToBottom), bottom);
  form->addRow(minimize);
  form->addRow(alarm);
  form->addRow(Ui(Str::NewNoteFolder), folder);
  form->addRow(Ui(Str::InitialText), text);
  form->addRow(QString(), insert);
  form->addRow(Plain(Str::Preview), preview);
}

// ---- Keyboard ------------------------------------------------------------------

void CHotkeyEdit::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::ShiftModifier);
  if (mods == Qt::NoModifier && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
    clear();
    return;
  }
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    e->ignore();  // Ctrl+Tab switches pages
    return;
  }
  const bool modifierKey = key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Shift ||
                           key == Qt::Key_Meta || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
  const bool functionKey = key >= Qt::Key_F1 && key <= Qt::Key_F24;
  const bool held = (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) || m_windowsKey->isChecked();
  if (!modifierKey && !functionKey && !held) {
    // Refused, and the field keeps what it had; Enter and Esc go on to the dialog.
    e->ignore();
    return;
  }
  QKeySequenceEdit::keyPressEvent(e);
}

CSettingsKeyboard::CSettingsKeyboard(QWidget* parent) : QWidget(parent) {
  auto* form = new QFormLayout(this);
  const auto& table = HotkeyTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    windows[i] = new QCheckBox(Plain(Str::WindowsKey), this);
    keys[i] = new CHotkeyEdit(this, windows[i]);
    auto* box = new QWidget(this);
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(keys[i], 1);
    h->addWidget(windows[i]);
    AddRow(form, table[i].label, box, keys[i]);
    SetValue(static_cast<int>(i), AppSettings().Int(table[i].key));
  }
}

int CSettingsKeyboard::Value(int i) const {
  const QKeySequence seq = keys[static_cast<std::size_t>(i)]->keySequence();
  if (seq.isEmpty()) return 0;
  const QKeyCombination combo = seq[0];
  const int vk = VirtualKeyOfQtKey(combo.key());
  if (!vk) return 0;
  const Qt::KeyboardModifiers m = combo.keyboardModifiers();
  const int mods = (m & Qt::ShiftModifier ? kHotShift : 0) | (m & Qt::ControlModifier ? kHotCtrl : 0) |
                   (m & Qt::AltModifier ? kHotAlt : 0) | (m & Qt::MetaModifier ? kHotWin : 0);
  return EncodeHotkey(vk, mods, windows[static_cast<std::size_t>(i)]->isChecked());
}

void CSettingsKeyboard::SetValue(int i, int value) {
  const HotkeyParts p = DecodeHotkey(value);
  windows[static_cast<std::size_t>(i)]->setChecked(p.modifiers & kHotWin);
  const int key = p.virtualKey ? QtKeyOfVirtualKey(p.virtualKey) : 0;
  if (!key) {
    keys[static_cast<std::size_t>(i)]->clear();
    return;
  }
  Qt::KeyboardModifiers m;
  if (p.modifiers & kHotShift) m |= Qt::ShiftModifier;
  if (p.modifiers & kHotCtrl) m |= Qt::ControlModifier;
  if (p.modifiers & kHotAlt) m |= Qt::AltModifier;
  keys[static_cast<std::size_t>(i)]->setKeySequence(QKeySequence(QKeyCombination(m, static_cast<Qt::Key>(key))));
}

// ---- Network ------------------------------------------------------------------

CSettingsNetwork::CSettingsNetwork(QWidget* parent, IDesk& main) : QWidget(parent) {
  const CSettings& s = AppSettings();
  auto* form = new QFormLayout(this);
  accept = Check(this, Str::Accept, s.Flag("NetEnable"));
  onTop = Check(this, Str::IncomingOnTop, s.Flag("NetOnTop"));
  layout = new QComboBox(this);
  layout->addItem(Plain(Str::StandardLayout), 0);
  for (int n : s.GetLayoutList()) layout->addItem(FromLocal(s.GetString(LayoutSection(n), "Name")), n);
  layout->setCurrentIndex(std::max(0, layout->findData(s.Int("NetLayout"))));
  folder = new QComboBox(this);
  folder->addItem(Plain(Str::NoFolder));
  for (const auto& f : main.FolderList()) folder->addItem(FromLocal(f));
  folder->setCurrentIndex(std::clamp(s.Int("NetFolder"), 0, folder->count() - 1));
  // The port is checked on OK, so it is written here as it is read.
  port = new QLineEdit(FromLocal(s.Store().RawString("Settings", "NetPort").value_or("24837")), this);
  port->setMaxLength(5);
  sender = new QLineEdit(FromLocal(s.String("NetSender")), this);
  sender->setMaxLength(static_cast<int>(kMaxSenderName));
  audio = new QComboBox(this);
  audio->addItems({Plain(Str::NoAudioSignal), Plain(Str::StandardSignal), Plain(Str::PlaySoundFile)});
  audio->setCurrentIndex(std::clamp(s.Int("NetAudio"), 0, 2));
  wave = new QLineEdit(FromLocal(s.String("NetWave")), this);
  chooseWave = new QPushButton(QStringLiteral("..."), this);
  chooseWave->setAccessibleName(Plain(Str::PlaySoundFile));
  connect(chooseWave, &QPushButton::clicked, this, [this, &main] {
    const QString path = main.AskExistingFile(this, Str::SoundFileFilter, QStringLiteral("WaveDir"));
    if (path.isEmpty()) return;
    wave->setText(path);
    audio->setCurrentIndex(2);
  });
  testAudio = new QPushButton(Ui(Str::TestAudioSignal), this);
  connect(testAudio, &QPushButton::clicked, this, [this] { CSound::Test(audio->currentIndex(), wave->text()); });
  acceptFrom = new QComboBox(this);
  acceptFrom->addItems({Plain(Str::AnyComputer), Plain(Str::ThisNetworkOnly), Plain(Str::TheseComputers)});
  acceptFrom->setCurrentIndex(std::clamp(s.Int("NetAccept"), 0, 2));
  acceptList = new QLineEdit(FromLocal(s.String("NetAcceptList")), this);
  acceptList->setPlaceholderText(Plain(Str::AcceptListHint));
  acceptList->setToolTip(Plain(Str::AcceptListHint));
  acceptList->setEnabled(acceptFrom->currentIndex() == 2);
  connect(acceptFrom, &QComboBox::currentIndexChanged, acceptList, [this](int i) { acceptList->setEnabled(i == 2); });
  form->addRow(accept);
  form->addRow(Ui(Str::AcceptNotesFrom), acceptFrom);
  form->addRow(QString(), acceptList);
  form->addRow(onTop);
  form->addRow(Ui(Str::LayoutLabel), layout);
  form->addRow(Ui(Str::SearchFolder), folder);
  form->addRow(Ui(Str::PortNumber), port);
  form->addRow(Ui(Str::NameOfSender), sender);
  form->addRow(Ui(Str::IncomingSound), audio);
  form->addRow(QString(), WithButton(this, wave, chooseWave));
  form->addRow(QString(), testAudio);
}

// ---- Calendar -------------------------------------------------------------------

CSettingsCalendar::CSettingsCalendar(QWidget* parent) : QWidget(parent) {
  const CSettings& s = AppSettings();
  const CalendarLayout stored = ReadCalendarLayout(s);
  m_font = stored.font.value_or(LogFontFromFont(QApplication::font()));
  auto* form = new QFormLayout(this);
  font = new QPushButton(Ui(Str::Font), this);
  form->addRow(font);
  connect(font, &QPushButton::clicked, this, [this] {
    if (AskFont(m_font, this)) font->setToolTip(FontLabel(m_font));
  });
  font->setToolTip(FontLabel(m_font));
  const std::array<ColorRef, 6> fallback = DesktopCalendarColors();
  const int names[6] = {Str::CalBackgroundColor, Str::CalBackgroundColorMonth, Str::CalTextColorMonth, Str::CalTextColorOtherMonths, Str::CalBackgroundColorTitle, Str::CalTextColorTitle};
  for (std::size_t i = 0; i < colors.size(); ++i) {
    colors[i] = new QPushButton(this);
    PaintButton(colors[i], stored.colors[i].value_or(fallback[i]));
    AskColorOnClick(colors[i], this);
    form->addRow(Ui(names[i]), colors[i]);
  }
  key = new QComboBox(this);
  alpha = new QSlider(Qt::Horizontal, this);
  FillTransparency(key, alpha, {Str::CalKeyBackgroundColor, Str::CalKeyBackgroundColorMonth, Str::CalKeyTextColorMonth, Str::CalKeyTextColorOtherMonths, Str::CalKeyBackgroundColorTitle, Str::CalKeyTextColorTitle}, stored.transparency);
  form->addRow(Ui(Str::CompletelyTransparentColor), key);
  form->addRow(Ui(Str::InfinitelyVariableTransparency), alpha);
  form->addRow(weeks = Check(this, Str::DisplayWeekNumbers, s.Flag("CalWeek")));
  form->addRow(today = Check(this, Str::ShowToday, s.Flag("CalToday")));
  form->addRow(circle = Check(this, Str::HighlightToday, s.Flag("CalCircle")));
}

CalendarLayout CSettingsCalendar::Layout() const {
  CalendarLayout c;
  c.font = m_font;
  for (std::size_t i = 0; i < colors.size(); ++i) c.colors[i] = ButtonColor(colors[i]);
  c.transparency = TransparencyOf(key, alpha);
  return c;
}

// ---- Various ---------------------------------------------------------------------

CSettingsMisc::CSettingsMisc(QWidget* parent) : QWidget(parent) {
  const CSettings& s = AppSettings();
  auto* scroll = new QScrollArea(this);
  auto* inner = new QWidget(scroll);
  auto* v = new QVBoxLayout(inner);
  auto group = [&](int title) {
    auto* g = new QGroupBox(Plain(title), inner);
    auto* form = new QFormLayout(g);
    v->addWidget(g);
    return form;
  };
  // Spins take any number so that OK can say what is out of range.
  QFormLayout* display = group(Str::Display);
  display->addRow(autostart = Check(inner, Str::StartAtLogin, AutostartOn()));
  display->addRow(tooSmall = Check(inner, Str::IndicateTooSmall, s.Flag("TooSmall")));
  display->addRow(showFull = Check(inner, Str::ShowFullUnderMouse, s.Flag("ShowFull")));
  display->addRow(shadow = Check(inner, Str::DropShadow, s.Flag("Shadow")));
  display->addRow(allWorkspaces = Check(inner, Str::ShowOnAllWorkspaces, s.Flag("AllWorkspaces")));
  display->addRow(balloon = Check(inner, Str::AlarmBalloon, s.Flag("AlarmBalloon")));
  display->addRow(Ui(Str::TabWidthInCharacters), tabStops = Spin(inner, 0, 999, s.Int("TabStops")));
  QFormLayout* edit = group(Str::EditGroup);
  editType = new QComboBox(inner);
  editType->addItems({Plain(Str::EditSelectAll), Plain(Str::PositionCursorAtTop), Plain(Str::PositionCursorAtBottom)});
  editType->setCurrentIndex(std::clamp(s.Int("EditType"), 0, 2));
  edit->addRow(editType);
  QFormLayout* del = group(Str::DeleteGroup);
  del->addRow(deleteAsk = Check(inner, Str::ConfirmDeletionOfSingleNotes, s.Flag("DeleteAsk")));
  del->addRow(deleteBin = Check(inner, Str::MoveNotesToRecycleBin, s.Flag("DeleteRecBin")));
  QFormLayout* print = group(Str::PrintGroup);
  print->addRow(printAuto = Check(inner, Str::PrintToDefaultPrinter, s.Flag("PrintAuto")));
  print->addRow(printColor = Check(inner, Str::PrintInColor, s.Flag("PrintColor")));
  print->addRow(printBorder = Check(inner, Str::WithNoteBorder, s.Flag("PrintBorder")));
  print->addRow(Ui(Str::ScaleNoteIn), printZoom = Spin(inner, 25, 400, s.Int("PrintZoom")));
  QFormLayout* paste = group(Str::PasteGroup);
  paste->addRow(formatPaste = Check(inner, Str::AlwaysFormatLines, s.Flag("FormatPaste")));
  paste->addRow(pasteAppend = Check(inner, Str::AppendToExistingText, s.Flag("PasteAppend")));
  QFormLayout* format = group(Str::FormatLinesGroup);
  ratioW = new QComboBox(inner);
  ratioH = new QComboBox(inner);
  for (int i = 1; i <= 10; ++i) {
    ratioW->addItem(QString::number(i));
    ratioH->addItem(QString::number(i));
  }
  ratioW->setCurrentIndex(s.Int("FormatWidth") - 1);
  ratioH->setCurrentIndex(s.Int("FormatHeight") - 1);
  format->addRow(Ui(Str::RatioWidth), ratioW);
  format->addRow(Ui(Str::RatioHeight), ratioH);
  QFormLayout* alarm = group(Str::Alarm);
  alarm->addRow(Ui(Str::FlashTimeInMillisec), flash = Spin(inner, 0, 99999, s.Int("AlarmFlash")));
  alarm->addRow(Ui(Str::RemindAgainInMinutes), remind = Spin(inner, 0, 999, s.Int("AlarmRemind")));
  alarm->addRow(Ui(Str::AnnounceMinutes), next = Spin(inner, 0, 2000, s.Int("AlarmNext")));
  alarm->addRow(Ui(Str::AnnounceFlashCount), flashIcon = Spin(inner, 0, 99, s.Int("FlashIcon")));
  QFormLayout* sep = group(Str::SeparatorLineForNotes);
  sep->addRow(Ui(Str::ExportToTextFile), sepExport = new QLineEdit(FromLocal(s.String("SepExport")), inner));
  sep->addRow(Ui(Str::CopyToClipboard), sepCopy = new QLineEdit(FromLocal(s.String("SepCopy")), inner));
  QFormLayout* icon = group(Str::TrayDoubleClick);
  iconAction = new QComboBox(inner);
  for (int id : {Str::HotkeyNewNote, Str::HotkeyPasteNote, Str::HotkeyNoteList, Str::HotkeySearch, Str::HotkeySendTo,
                 Str::HotkeyShowNotes, Str::HotkeyShowCalendar, Str::HotkeyAlwaysOnTop})
    iconAction->addItem(Plain(id));
  iconAction->setCurrentIndex(std::clamp(s.Int("IconAction"), 0, 7));
  icon->addRow(iconAction);
  QFormLayout* menus = group(Str::Menus);
  menus->addRow(menuXP = Check(inner, Str::ClassicStyle, s.Flag("MenuXP")));
  menus->addRow(menuFlip = Check(inner, Str::FlipMainMenu, s.Flag("MenuFlip")));
  QFormLayout* files = group(Str::Files);
  fileNotes = new QLineEdit(FromLocal(s.String("FileNotes")), inner);
  fileBin = new QLineEdit(FromLocal(s.String("FileRecBin")), inner);
  browseNotes = new QPushButton(Ui(Str::BrowseDataFile), inner);
  browseBin = new QPushButton(Ui(Str::BrowseDataFile), inner);
  for (auto [field, button, filter] : {std::tuple{fileNotes, browseNotes, Str::DataFileFilter}, std::tuple{fileBin, browseBin, Str::RecycleBinFileFilter}})
    connect(button, &QPushButton::clicked, this, [this, field, filter] {
      const QString path = CFileDialog::ChooseDataFile(this, Ui(filter), field->text());
      if (!path.isEmpty()) field->setText(path);
    });
  AddRow(files, Str::Notes, WithButton(inner, fileNotes, browseNotes), fileNotes);
  AddRow(files, Str::RecycleBinGroup, WithButton(inner, fileBin, browseBin), fileBin);
  files->addRow(Ui(Str::DailyBackupsKept), backups = Spin(inner, 0, 365, s.Int("Backups")));
  scroll->setWidget(inner);
  scroll->setWidgetResizable(true);
  // Tab goes from the page's tab to its first field; the page scrolls to the field with the focus.
  scroll->setFocusPolicy(Qt::NoFocus);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);
}

// ---- Translation ------------------------------------------------------------------

CSettingsTranslate::CSettingsTranslate(QWidget* parent) : QWidget(parent) {
  table = new QTableWidget(this);
  table->setColumnCount(2);
  table->setHorizontalHeaderLabels({Plain(Str::Translation), Plain(Str::English)});
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table->verticalHeader()->hide();
  CIniFile ini;
  ini.Load(UIStrings().TranslationPath());
  // The first text of each block (a dialog or a menu) starts a group of rows.
  static const int kGroups[] = {Str::Ok,           Str::QuilletAlarm,      Str::QuilletSettings, Str::QuilletHide,
                                Str::QuilletNoteList, Str::QuilletSendTo,  Str::QuilletSearch,   Str::QuilletColorList,
                                Str::QuilletFolderList, Cmd::NewNote,      Cmd::EditNote,        Str::DateCodeFirst,
                                Cmd::ViewAll,      Cmd::EditorUndo,        Cmd::GoToToday};
  for (const UIStringEntry& e : UIStringTable()) {
    if (std::find(std::begin(kGroups), std::end(kGroups), e.id) != std::end(kGroups)) table->insertRow(table->rowCount());
    const int row = table->rowCount();
    table->insertRow(row);
    auto* mine = new QTableWidgetItem(FromLocal(DecodeLocalText(ini.Get("Translation", std::to_string(e.id)))));
    mine->setData(Qt::UserRole, e.id);
    table->setItem(row, 0, mine);
    auto* english = new QTableWidgetItem(FromLocal(e.english).replace(QLatin1Char('\t'), QStringLiteral("\\t")));
    english->setFlags(english->flags() & ~Qt::ItemIsEditable);
    table->setItem(row, 1, english);
  }
  connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == 0) m_changed = true;
  });
  auto* v = new QVBoxLayout(this);
  v->addWidget(table);
}

bool CSettingsTranslate::Save(const std::string& iniPath) const {
  CIniFile ini;
  ini.Load(iniPath);
  for (int r = 0; r < table->rowCount(); ++r) {
    const QTableWidgetItem* item = table->item(r, 0);
    if (!item || !item->data(Qt::UserRole).isValid()) continue;
    ini.Set("Translation", std::to_string(item->data(Qt::UserRole).toInt()), ToLocal(item->text()));
  }
  return !ini.Save(iniPath);
}

// ---- The dialog ---------------------------------------------------------------------

bool CSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* w = qobject_cast<QWidget*>(watched);
  if (event->type() != QEvent::Wheel || !w || w->hasFocus()) return QDialog::eventFilter(watched, event);
  // Handed to the scrolling page around it, if any.
  for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
    if (auto* area = qobject_cast<QAbstractScrollArea*>(p)) {
      QCoreApplication::sendEvent(area->viewport(), event);
      break;
    }
  return true;
}

CSettingsDialog::CSettingsDialog(IDesk& main, const CNote* note, QWidget* parent)
    : QDialog(parent), m_main(main), m_noteMode(note != nullptr) {
  setWindowTitle(note ? Ui(Str::NoteSettings) : Ui(Str::QuilletSettings));
  setWindowIcon(QuilletIcon());
  LayoutValues values = ReadLayout(AppSettings(), 0);
  if (note) {
    values.font = note->Font;
    values.colorText = note->ColorText;
    values.colorBack = EffectiveColorsOf(*note, main.DesktopColor()).back;
    values.colorBorder = note->ColorBorder;
    values.align = note->Align;
    values.deskColor = note->DeskColor();
    values.randomColor = values.randColList = false;
    values.transparency = note->Transparency;
  }
  tabs = new QTabWidget(this);
  // Every page's tab in sight, without scroll arrows.
  tabs->setUsesScrollButtons(false);
  layoutPage = new CSettingsLayout(tabs, values, note != nullptr, main.DesktopColor());
  tabs->addTab(layoutPage, Ui(Cmd::Layout));
  if (!note) {
    // The dialog's hotkey editors need the key combinations for themselves.
    main.UnregisterHotkeys();
    tabs->addTab(newnotePage = new CSettingsNewnote(tabs, main), Ui(Str::NewNotePage));
    tabs->addTab(keyboardPage = new CSettingsKeyboard(tabs), Ui(Str::Keyboard));
    tabs->addTab(networkPage = new CSettingsNetwork(tabs, main), Ui(Str::Network));
    tabs->addTab(calendarPage = new CSettingsCalendar(tabs), Ui(Str::Calendar));
    tabs->addTab(miscPage = new CSettingsMisc(tabs), Ui(Str::Various));
    tabs->addTab(translatePage = new CSettingsTranslate(tabs), Ui(Str::Translation));
  }
  // A wheel turned to scroll a page must not change the value that passes
  // under the pointer: spin boxes and lists take it only with the focus.
  for (QWidget* w : findChildren<QWidget*>())
    if (qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QSlider*>(w)) {
      w->setFocusPolicy(Qt::StrongFocus);
      w->installEventFilter(this);
    }
  auto* buttons = MakeOkCancelHelp(this);
  auto* all = new QVBoxLayout(this);
  all->addWidget(tabs);
  all->addWidget(buttons);
  resize(std::max(520, sizeHint().width()), 600);
  if (!note) m_shown = ControlValues();
}

CSettingsDialog::Values CSettingsDialog::ControlValues() const {
  Values v;
  auto put = [&v](const std::string& key, auto value) {
    if constexpr (std::is_convertible_v<decltype(value), std::string>)
      v[key] = std::string(value);
    else
      v[key] = static_cast<long long>(value);
  };
  const int port = PortFromText(ToLocal(networkPage->port->text()));
  const CSettingsMisc& m = *miscPage;
  put("NewLeft", newnotePage->left->value());
  put("NewTop", newnotePage->top->value());
  put("NewRight", newnotePage->right->value());
  put("NewBottom", newnotePage->bottom->value());
  put("NewText", ToLocal(newnotePage->text->toPlainText()));
  put("NewMinimize", newnotePage->minimize->isChecked());
  put("NewAlarm", newnotePage->alarm->isChecked());
  put("NewFolder", newnotePage->folder->currentIndex());
  for (std::size_t i = 0; i < HotkeyTable().size(); ++i)
    put(HotkeyTable()[i].key, keyboardPage->Value(static_cast<int>(i)));
  put("NetEnable", networkPage->accept->isChecked());
  put("NetOnTop", networkPage->onTop->isChecked());
  put("NetLayout", networkPage->layout->currentData().toInt());
  put("NetFolder", networkPage->folder->currentIndex());
  put("NetPort", std::to_string(port));
  put("NetSender", HoldToWidth(ToLocal(networkPage->sender->text()), kMaxSenderName));
  put("NetAudio", networkPage->audio->currentIndex());
  put("NetWave", ToLocal(networkPage->wave->text()));
  put("NetAccept", networkPage->acceptFrom->currentIndex());
  put("NetAcceptList", ToLocal(networkPage->acceptList->text().trimmed()));
  put("CalWeek", calendarPage->weeks->isChecked());
  put("CalToday", calendarPage->today->isChecked());
  put("CalCircle", calendarPage->circle->isChecked());
  put("TooSmall", m.tooSmall->isChecked());
  put("ShowFull", m.showFull->isChecked());
  put("Shadow", m.shadow->isChecked());
  put("AllWorkspaces", m.allWorkspaces->isChecked());
  put("AlarmBalloon", m.balloon->isChecked());
  put("TabStops", m.tabStops->value());
  put("MenuXP", m.menuXP->isChecked());
  put("MenuFlip", m.menuFlip->isChecked());
  put("EditType", m.editType->currentIndex());
  put("DeleteAsk", m.deleteAsk->isChecked());
  put("DeleteRecBin", m.deleteBin->isChecked());
  put("PrintAuto", m.printAuto->isChecked());
  put("PrintColor", m.printColor->isChecked());
  put("PrintBorder", m.printBorder->isChecked());
  put("PrintZoom", m.printZoom->value());
  put("FormatPaste", m.formatPaste->isChecked());
  put("PasteAppend", m.pasteAppend->isChecked());
  put("FormatWidth", m.ratioW->currentIndex() + 1);
  put("FormatHeight", m.ratioH->currentIndex() + 1);
  put("AlarmFlash", m.flash->value());
  put("AlarmRemind", m.remind->value());
  put("AlarmNext", m.next->value());
  put("FlashIcon", m.flashIcon->value());
  put("SepExport", ToLocal(m.sepExport->text()));
  put("SepCopy", ToLocal(m.sepCopy->text()));
  put("IconAction", m.iconAction->currentIndex());
  put("FileNotes", ToLocal(m.fileNotes->text().trimmed()));
  put("FileRecBin", ToLocal(m.fileBin->text().trimmed()));
  put("Backups", m.backups->value());
  return v;
}

void CSettingsDialog::accept() {
  m_layout = layoutPage->Values();
  if (m_noteMode) return QDialog::accept();
  // Checked in this order; the first that fails keeps the dialog open and writes nothing.
  const int port = PortFromText(ToLocal(networkPage->port->text()));
  const std::pair<bool, int> checks[] = {
      {port >= 20000 && port <= 60000, Str::PortOutOfRange},
      {miscPage->tabStops->value() >= 2 && miscPage->tabStops->value() <= 20, Str::TabWidthOutOfRange},
      {miscPage->flash->value() >= 100 && miscPage->flash->value() <= 3000, Str::FlashTimeOutOfRange},
      {miscPage->remind->value() >= 1 && miscPage->remind->value() <= 59, Str::RemindTimeOutOfRange},
  };
  for (const auto& [ok, message] : checks)
    if (!ok) {
      CMessageBox::Show(this, Ui(message));
      return;
    }
  CSettings& s = AppSettings();
  const std::string sec = "Settings";
  WriteLayout(s, sec, m_layout);
  WriteCalendarLayout(s, calendarPage->Layout(), DesktopCalendarColors(), m_layout.font);
  m_shadowChanged = miscPage->shadow->isChecked() != s.Flag("Shadow");
  // Only what the user changed is written: a control that cannot show a
  // hand-edited value leaves that value as it is.
  for (const auto& [key, value] : ControlValues()) {
    const auto shown = m_shown.find(key);
    if (shown != m_shown.end() && shown->second == value) continue;
    if (const auto* n = std::get_if<long long>(&value))
      s.WriteInt(sec, key, *n);
    else
      s.WriteString(sec, key, std::get<std::string>(value));
  }
  if (miscPage->autostart->isChecked() != AutostartOn()) {
    s.WriteInt(sec, "Autostart", miscPage->autostart->isChecked());
    s.WriteInt(sec, "AutostartSet", 1);
    if (!SetAutostart(miscPage->autostart->isChecked(), QCoreApplication::applicationFilePath()))
      CMessageBox::Show(this, FromLocal(FormatUIString(LoadUIString(Str::CannotWriteFile), {ToLocal(AutostartPath()), ""})));
  }
  if (translatePage->Changed()) {
    const std::string path = UIStrings().TranslationPath().empty() ? ToLocal(TranslationFilePath()) : UIStrings().TranslationPath();
    translatePage->Save(path);
    UIStrings().LoadTranslation(path);
  }
  s.Store().Sync();
  QDialog::accept();
}

}  // namespace quillet
