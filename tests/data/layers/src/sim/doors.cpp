// A sim file that reaches upwards in every way an include can be written;
// the layer check must name each one.
#include "view/needles.h"
#include <sound/horn.h>
#include "../view/needles.h"
#include <vector>
