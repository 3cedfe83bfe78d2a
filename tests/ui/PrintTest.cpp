#include <QFile>
#include <QPdfWriter>

#include "notewnd/CPrintNotes.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

namespace {
int PdfPages(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray pdf = f.readAll();
  int pages = 0;
  for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
    if (pdf.mid(at + 11, 1) != "s") ++pages;
  return pages;
}
}  // namespace

using Printing = UiFixture;

TEST_F(Printing, NotesGoIntoAPdfOneBelowAnother) {
  Start();
  for (int i = 0; i < 3; ++i) AddNote("note " + std::to_string(i) + "\r\nsecond line", QRect(10, 10, 80, 40));
  std::string tall;
  for (int i = 0; i < 120; ++i) tall += "line " + std::to_string(i) + "\r\n";
  AddNote(tall, QRect(10, 10, 80, 40));
  const std::string pdf = dir.File("notes.pdf");
  {
    QPdfWriter writer(QString::fromStdString(pdf));
    writer.setResolution(300);
    writer.setTitle(QStringLiteral("Quillet"));
    EXPECT_EQ(PrintNotesTo(*main, {0, 1, 2}, writer, true), 1);
  }
  EXPECT_EQ(PdfPages(pdf), 1);
  {
    QPdfWriter writer(QString::fromStdString(pdf));
    writer.setResolution(300);
    AppSettings().WriteInt("Settings", "PrintZoom", 1000);  // held at 400
    AppSettings().WriteInt("Settings", "PrintBorder", 0);
    // The tall note gets a page of its own and runs off it.
    EXPECT_EQ(PrintNotesTo(*main, {0, 1, 2, 3}, writer, false), 2);
  }
  EXPECT_EQ(PdfPages(pdf), 2);
}
