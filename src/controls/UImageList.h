#pragma once
// The program's 107 command pictures, 16 by 16, referred to by number.

#include <QIcon>

namespace ImageList {
constexpr int Count = 107;
// The picture of the number; an empty icon outside 0 to Count - 1.
QIcon Icon(int index);
} // namespace ImageList
