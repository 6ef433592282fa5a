#include "platform/TextLines.h"

#include <gtest/gtest.h>
