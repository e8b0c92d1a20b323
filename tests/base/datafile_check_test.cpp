// assets.dat is refused before the library sees it when it is cut short, and
// after loading when its objects are not the ones the game uses by index.
#include "base/assets.h"
#include "base/datafile_check.h"
#include "base/globals.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

class DatafileCheckTest : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }
};

TEST_F(DatafileCheckTest, TheBuiltFileIsWholeAndAnyCutOfItIsNot) {
  ASSERT_TRUE(checkDatafile(runFile("assets.dat").c_str()).usable()) << checkDatafile(runFile("assets.dat").c_str()).damage;
  std::ifstream file(runFile("assets.dat"), std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ScopedWorkDir dir;
  for (size_t length : {size_t{0}, size_t{3}, size_t{100}, whole.size() / 4, whole.size() / 2, whole.size() - 1}) {
    dir.writeFile("cut.dat", whole.substr(0, length));
    EXPECT_FALSE(checkDatafile("cut.dat").readable) << "cut at " << length << " of " << whole.size();
  }
  EXPECT_FALSE(checkDatafile("missing.dat").readable);
}

TEST_F(DatafileCheckTest, AWrongPasswordMakesTheFileUnreadable) {
  packfile_password("not the one");
  EXPECT_FALSE(checkDatafile(runFile("assets.dat").c_str()).readable);
  packfile_password("zoph");
}

TEST_F(DatafileCheckTest, NamesWhatIsWrongWithTheObjects) {
  EXPECT_EQ(describeAssetProblem(assets), "");
  std::vector<DATAFILE> objects(assets, assets + AssetCount + 1);
  objects[AssetSampleDig].type = DAT_BITMAP;
  EXPECT_EQ(describeAssetProblem(objects.data()), "assets.dat is damaged: object 12 is not a sample.");
  objects[AssetSampleDig] = assets[AssetSampleDig];
  objects[AssetFont].type = DAT_END;
  EXPECT_EQ(describeAssetProblem(objects.data()), "assets.dat is damaged: it holds 16 objects, not 18.");
}

}  // namespace
