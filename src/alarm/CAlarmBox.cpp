#include "alarm/CAlarmBox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/Paths.h"
#include "app/UIStrings.h"
#include "controls/Platform.h"
#include "notewnd/NoteMeasure.h"

namespace quillet {

int CAlarmBox::TextWidth(const std::function<int(int)>& heightAt, int screenWidth) {
  int lo = 0, hi = std::max(1, screenWidth);
  int probe = (lo + hi) / 2;
  const int target = heightAt(probe);
  int last = probe;
  while (lo < hi) {
    probe = (lo + hi) / 2;
    last = probe;
    if (heightAt(probe) <= target)
      hi = probe;
    else
      lo = probe + 1;
  }
  return std::max(last, lo);
}

CAlarmBox::CAlarmBox(const CNote& note, int remindMinutes, QWidget* parent) : QDialog(parent) {
  setWindowTitle(FromLocal(LoadUIString(31000)));
  setWindowIcon(QuilletIcon(1));
  setWindowFlag(Qt::WindowStaysOnTopHint, true);

  auto* picture = new QLabel(this);
  picture->setPixmap(QuilletIcon(1).pixmap(48, 48));
  picture->setAlignment(Qt::AlignTop);

  auto* text = new QPlainTextEdit(this);
  text->setReadOnly(true);
  text->setFrameStyle(QFrame::NoFrame);
  text->setFont(FontFromLogFont(note.Font));
  text->setPlainText(FromLocal(note.Text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  text->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
  const TextStyle style{text->font(), 0, 8};
  const QString shown = DisplayText(note.Text().empty() ? std::string(" ") : note.Text());
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
  const int w = TextWidth([&](int width) { return MeasureText(style, shown, std::max(1, width)).height(); }, screenWidth);
  const int h = MeasureText(style, shown, std::max(1, w)).height();
  text->setFixedSize(std::max(w, 120) + 12, std::min(h + 12, screen ? screen->availableGeometry().height() * 2 / 3 : 600));

  auto* close = new QPushButton(FromLocal(LoadUIString(30902)), this);
  auto* remind = new QPushButton(FromLocal(FormatUIString(LoadUIString(31027), {std::to_string(remindMinutes)})), this);
  auto* change = new QPushButton(FromLocal(LoadUIString(31028)), this);
  close->setDefault(true);
  close->setAutoDefault(true);
  connect(close, &QPushButton::clicked, this, [this] { done(kClose); });
  connect(remind, &QPushButton::clicked, this, [this] { done(kRemind); });
  connect(change, &QPushButton::clicked, this, [this] { done(kChangeAlarm); });
  const int bw = std::max({close->sizeHint().width(), remind->sizeHint().width(), change->sizeHint().width()});
  for (QPushButton* b : {close, remind, change}) b->setFixedWidth(bw);

  auto* top = new QHBoxLayout;
  top->addWidget(picture);
  top->addWidget(text, 0, Qt::AlignLeft | Qt::AlignTop);
  top->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  buttons->addWidget(remind);
  buttons->addWidget(change);
  buttons->addStretch();
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addLayout(buttons);
  all->setSizeConstraint(QLayout::SetFixedSize);
  close->setFocus();
}

void CAlarmBox::closeEvent(QCloseEvent* e) { e->ignore(); }

void CAlarmBox::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(e);
}

}  // namespace quillet
