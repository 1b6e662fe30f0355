#include "umwandlung.h"
