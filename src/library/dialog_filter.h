#pragma once
// Moved to the platform layer; kept while callers change over.
#include "platform/dialog_filter.h"
