// Paths that name outline nodes on the command line: captions joined by "/", "#N" for the
// N-th child, and escapes for a "/" or a leading "#" inside a caption.

#include "core/exchange/outline_path.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

class OutlinePathTest : public ::testing::Test {
protected:
    test::FakeServices services;
    TOutline outline;
    TOutlineNode* root = outline.CreateRoot();
    TOutlineNode* Add(std::string_view title, TOutlineNode* parent) {
        return CreateItem(kFolderKind, title, {}, {}, 1, {}, parent)->Node();
    }
};

TEST_F(OutlinePathTest, CaptionsPositionsAndEscapes) {
    TOutlineNode* family = Add("Family", root);
    TOutlineNode* first = Add("Ann", family);
    TOutlineNode* second = Add("Ann", family);
    TOutlineNode* blank = Add("", family);
    TOutlineNode* slash = Add("A/B", root);
    TOutlineNode* hash = Add("#1", root);
    TOutlineNode* back = Add("C:\\Temp", root);
    TOutlineNode* rootNamed = Add(root->Text(), root);

    EXPECT_EQ(FindNodeByPath(outline, ""), root);
    EXPECT_EQ(FindNodeByPath(outline, "My Contacts"), root);
    EXPECT_EQ(FindNodeByPath(outline, "Family/Ann"), first) << "the first of a caption";
    EXPECT_EQ(FindNodeByPath(outline, "My Contacts/Family/Ann"), first);
    ASSERT_EQ(family->ChildCount(), 3u);
    const std::size_t secondRow = static_cast<std::size_t>(second->Row()) + 1;
    EXPECT_EQ(FindNodeByPath(outline, "Family/#" + std::to_string(secondRow)), second);
    EXPECT_EQ(FindNodeByPath(outline, "Family/#" + std::to_string(blank->Row() + 1)), blank);
    EXPECT_EQ(FindNodeByPath(outline, "Family/#9"), nullptr);
    EXPECT_EQ(FindNodeByPath(outline, "A\\/B"), slash);
    EXPECT_EQ(FindNodeByPath(outline, "A/B"), nullptr) << "two segments";
    EXPECT_EQ(FindNodeByPath(outline, "\\#1"), hash);
    EXPECT_EQ(FindNodeByPath(outline, "#1"), root->ChildAt(0)) << "a position";
    EXPECT_EQ(FindNodeByPath(outline, "C:\\Temp"), back) << "no escape: the backslash stays";
    EXPECT_EQ(FindNodeByPath(outline, "Nobody"), nullptr);

    // Every node's own path names it, whatever its caption.
    for (TOutlineNode* node : {root, family, first, second, blank, slash, hash, back, rootNamed}) {
        const std::string path = PathOfNode(*node);
        EXPECT_EQ(FindNodeByPath(outline, path), node) << path;
    }
    EXPECT_EQ(PathOfNode(*slash), "A\\/B");
    EXPECT_EQ(PathOfNode(*hash), "\\#1");
    EXPECT_EQ(PathOfNode(*back), "C:\\\\Temp");
}

} // namespace
} // namespace quill
