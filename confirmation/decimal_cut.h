// Cutting a money value to cents the way the operator reads it: on the
// value's decimal text (general format, up to 15 significant digits), not
// on its binary double. A discount of 0.29 is stored as a double a little
// below 0.29; cut as a double it would become 0.28, cut as text it stays
// 0.29 - which is what the item grid shows and what the item's value
// subtracts. 12.3456 gives 12.34, 0.019 gives 0.01, -1.239 gives -1.23.
// Pure.
#pragma once

double CortaCentavos(double value);
