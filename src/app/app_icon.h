#pragma once
// The program's icon, drawn in code: a spindle wound with thread.
#include <QIcon>

namespace app {

QIcon AppIcon();

}  // namespace app
