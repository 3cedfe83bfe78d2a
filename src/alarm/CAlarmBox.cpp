#include "alarm/CAlarmBox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>
#include <cmath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/Paths.h"
#include "app/UIStrings.h"
#include "controls/Platform.h"
#include "notewnd/NoteMeasure.h"
#include "app/Ids.h"

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
  setWindowTitle(FromLocal(LoadUIString(Str::QuilletAlarm)));
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
  // The box around the text: the document's margin on each side, the frame,
  // and a pixel for the caret at a line's end.
  const int margin = static_cast<int>(std::ceil(text->document()->documentMargin())) + text->frameWidth();
  const int around = 2 * margin + 2;
  const int w = TextWidth([&](int width) { return MeasureText(style, shown, std::max(1, width)).height(); },
                          screenWidth - around - 120);
  const int h = MeasureText(style, shown, std::max(1, w)).height();
  // The whole text up to the screen's height, less the title and the buttons;
  // past that it scrolls, and the scroll bar takes its own room.
  const int tallest = (screen ? screen->availableGeometry().height() : 768) - 160;
  text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const bool scrolls = h + around > tallest;
  text->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  const int bar = scrolls ? text->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
  text->setFixedSize(std::max(w, 120) + around + bar, std::min(h + around, tallest));

  auto* close = new QPushButton(FromLocal(LoadUIString(Str::CloseButton)), this);
  auto* remind = new QPushButton(FromLocal(FormatUIString(LoadUIString(Str::RemindInMin), {std::to_string(remindMinutes)})), this);
  auto* change = new QPushButton(FromLocal(LoadUIString(Str::ChangeAlarm)), this);
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
