#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/TextReader.h"

namespace velmora {
namespace {

TEST(TextReader, NumbersMayContinueOnTheNextLine) {
  TextReader in("m.txt", "1 2\n 3\t4.5\r\n");
  EXPECT_EQ(in.ReadInt("a"), 1);
  EXPECT_EQ(in.ReadInt("b"), 2);
  EXPECT_EQ(in.ReadInt("c"), 3);
  EXPECT_DOUBLE_EQ(in.ReadReal("d"), 4.5);
}

TEST(TextReader, NextLineSkipsTheRestOfTheLine) {
  TextReader in("m.txt", "1 2 3\nignored words\n7");
  EXPECT_EQ(in.ReadInt("a"), 1);
  in.NextLine();
  in.NextLine();
  EXPECT_EQ(in.ReadInt("b"), 7);
  EXPECT_EQ(in.LineNumber(), 3);
}

TEST(TextReader, AcceptsSignsAndIntegerReals) {
  TextReader in("m.txt", "-2 +5 3 -1e2");
  EXPECT_EQ(in.ReadInt("a"), -2);
  EXPECT_EQ(in.ReadInt("b"), 5);
  EXPECT_DOUBLE_EQ(in.ReadReal("c"), 3.0);
  EXPECT_DOUBLE_EQ(in.ReadReal("d"), -100.0);
}

TEST(TextReader, AWordWhereANumberBelongsNamesFileLineAndWord) {
  TextReader in("grid.txt", "1\n2 abc\n");
  in.ReadInt("a");
  in.ReadInt("b");
  try {
    in.ReadInt("the column count");
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_EQ(error.Line(), 2);
    const std::string text = error.what();
    EXPECT_NE(text.find("grid.txt"), std::string::npos);
    EXPECT_NE(text.find("abc"), std::string::npos);
    EXPECT_NE(text.find("the column count"), std::string::npos);
  }
}

TEST(TextReader, RejectsFractionsAsIntegersAndOverflow) {
  TextReader fraction("m.txt", "1.5");
  EXPECT_THROW(fraction.ReadInt("n"), ConversionError);
  TextReader huge("m.txt", "99999999999");
  EXPECT_THROW(huge.ReadInt("n"), ConversionError);
}

TEST(TextReader, TheEndOfTheTextIsAnError) {
  TextReader in("m.txt", "5\n  \n");
  in.ReadInt("a");
  EXPECT_THROW(in.ReadInt("b"), ConversionError);
}

TEST(TextReader, AMissingFileIsAnIoError) {
  EXPECT_THROW(TextReader::FromFile("/nonexistent/velmora/file.txt"), IoError);
}

}  // namespace
}  // namespace velmora
