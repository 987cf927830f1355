// The program's pictures (toolbar buttons, trash, font and colour buttons, program icon),
// drawn here with QPainter so that they are sharp at every size and need no image files.
#pragma once

#include <QIcon>
#include <QPixmap>

enum class ShellPicture {
  New,
  Open,
  Save,
  Copy,
  SetGraph,
  SetFunction,
  Trash,
  Redraw,
  Font,
  Color,
  Program,
};

// The picture at size x size device-independent pixels.
QPixmap shellPicture(ShellPicture picture, int size = 25);
// The picture as an icon, with a greyed form for disabled buttons.
QIcon shellIcon(ShellPicture picture);
