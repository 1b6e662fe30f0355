#include "paradox.h"
