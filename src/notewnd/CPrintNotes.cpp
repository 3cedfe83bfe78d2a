#include "notewnd/CPrintNotes.h"

#include <QApplication>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/CMessageBox.h"
#include "controls/CModal.h"
#include "desk/IDesk.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/NoteGeometry.h"
#include "notewnd/NoteMeasure.h"
#include "notewnd/PrintLayout.h"
#include "app/Ids.h"

namespace quillet {

int PrintNotesTo(INoteHost& main, const std::vector<int>& indices, QPagedPaintDevice& device, bool color) {
  const CSettings& s = AppSettings();
  const int zoom = ClampPrintZoom(s.Int("PrintZoom"));
  const bool border = s.Flag("PrintBorder");
  const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 300;
  const double pxPerMm = dpi / 25.4;
  const int unit = std::max(1, static_cast<int>(0.2 * pxPerMm + 0.5));
  const int margin = static_cast<int>(15 * pxPerMm + 0.5);

  std::vector<const CNote*> notes;
  std::vector<QFont> fonts;
  std::vector<std::pair<int, int>> sizes;
  for (int index : indices) {
    const CNote* n = main.GetNote(index);
    if (!n) continue;
    QFont f = FontFromLogFont(n->Font);
    f.setPixelSize(std::max(1, std::abs(PrintFontHeight(n->Font.height, 96, dpi, zoom))));
    std::string text = n->Text();
    if (text.empty() || text.back() == '\n') text.push_back(' ');
    const QSize size = MeasureText(TextStyle{f, n->Align, main.TabStops()}, DisplayText(text), 0);
    notes.push_back(n);
    fonts.push_back(f);
    sizes.emplace_back(size.width(), size.height());
  }
  if (notes.empty()) return 0;
  const std::vector<PrintBox> boxes = ComposePrintPages(sizes, device.height(), margin, unit);

  QPainter p;
  if (!p.begin(&device)) return 0;
  int page = 0;
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const PrintBox& b = boxes[i];
    while (page < b.page) {
      if (!device.newPage()) {
        p.end();
        return 0;
      }
      ++page;
    }
    const EffectiveColors c = EffectiveColorsOf(*notes[i], main.DesktopColor());
    const QColor back = color ? ToQColor(c.back) : QColor(Qt::white);
    const QColor text = color ? ToQColor(c.text) : QColor(Qt::black);
    const QColor frame = color ? ToQColor(c.border) : QColor(Qt::black);
    const QRect box(b.x, b.y, b.width, b.height);
    if (border) {
      p.setPen(QPen(frame, unit));
      p.setBrush(back);
      p.drawRect(box);
    } else {
      p.fillRect(box, back);
    }
    p.setPen(text);
    DrawText(p, box.adjusted(2 * unit, 2 * unit, 0, 0), TextStyle{fonts[i], notes[i]->Align, main.TabStops()},
             DisplayText(notes[i]->Text()));
  }
  p.end();
  return page + 1;
}

void PrintNotes(INoteHost& main, const std::vector<int>& indices) {
  if (indices.empty()) return;
  CBusyGuard busy(main);
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Quillet"));
  const bool automatic = AppSettings().Flag("PrintAuto");
  const bool hasPrinter = !QPrinterInfo::defaultPrinter().isNull();
  if (!automatic || !hasPrinter) {
    // Without a printer the dialog still offers to print into a PDF file.
    if (automatic) CMessageBox::Show(nullptr, FromLocal(LoadUIString(Str::NoPrinter)));
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (CModal::Run(dialog) != QDialog::Accepted) return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool color = AppSettings().Flag("PrintColor") && printer.colorMode() == QPrinter::Color;
  PrintNotesTo(main, indices, printer, color);
  QApplication::restoreOverrideCursor();
}

}  // namespace quillet
