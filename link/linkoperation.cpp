#include "linkoperation.h"
