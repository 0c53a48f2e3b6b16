// The borrow of the current document lives with the engine, where the macro
// run state reads its lines from the document a macro started in.
#pragma once

#include "spreadsheet/engine/DocumentScope.h"
