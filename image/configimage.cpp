#include "configimage.h"
