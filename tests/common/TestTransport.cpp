#include "TestTransport.h"
