#include <gtest/gtest.h>

#include "image/Image.h"

TEST(Image, Placeholder) { tarnview::Image image; EXPECT_EQ(image.getNx(), 0); }
