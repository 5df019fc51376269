#include "model/CoordinateConversion.h"

#include <gtest/gtest.h>

namespace {

TEST(CoordinateConversionTest, PixelsToWorldUnitsAboutTheCompositionCentre)
{
    EXPECT_FLOAT_EQ(coords::getGLXCoordFromAE(0.0f, 1920), -9.6f);
    EXPECT_FLOAT_EQ(coords::getGLXCoordFromAE(960.0f, 1920), 0.0f);
    EXPECT_FLOAT_EQ(coords::getGLXCoordFromAE(0.0f, 101), -0.505f);  // odd width: half pixel
    EXPECT_FLOAT_EQ(coords::getGLYCoordFromAE(1080.0f, 1080), 5.4f);  // no flip
    EXPECT_FLOAT_EQ(coords::getGLYCoordFromAE(0.0f, 1080), -5.4f);
    EXPECT_FLOAT_EQ(coords::getGLWCoordFromAE(250.0f), 2.5f);
    EXPECT_FLOAT_EQ(coords::getGLHCoordFromAE(-50.0f), -0.5f);
}

}  // namespace
