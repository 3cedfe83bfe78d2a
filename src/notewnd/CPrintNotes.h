#pragma once
#include <vector>

class QPagedPaintDevice;

namespace quillet {

class INoteHost;

// Prints notes as boxes in their own fonts, colours and borders, one below
// another, document name "Quillet". Returns the number of pages, 0 when
// nothing was printed.
int PrintNotesTo(INoteHost& main, const std::vector<int>& indices, QPagedPaintDevice& device, bool color);
// Chooses the printer ("PrintAuto": the default one, else the print dialog) and prints.
void PrintNotes(INoteHost& main, const std::vector<int>& indices);

}  // namespace quillet
