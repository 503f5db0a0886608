// Catalogue manifests: what each line asks for, what it is named, and which
// shard plays it.
#include <string>

#include <gtest/gtest.h>

#include "engine/catalogueManifest.h"

namespace orx {
namespace {

TEST(CatalogueManifest, LinesFieldsNamesAndShards)
{
    const std::string text =
        "# a catalogue\r\n"
        "SOFA.MDL,CHECK.CLO\r\n"
        "\n"
        "  models/DRESS.MDL , /lib/STRIPE.CLO , horizontal , 1.5 , reflection+soft\n"
        "SOFA.MDL,CHECK.CLO,vertical,,soft\n"
        "\"A,B.MDL\",\"say \"\"hi\"\".CLO\",,0.1,contrast\n"
        "SOFA.MDL\n"
        "SOFA.MDL,CHECK.CLO,diagonal\n"
        "SOFA.MDL,CHECK.CLO,,2.5\n"
        "SOFA.MDL,CHECK.CLO,,,glossy\n"
        "SOFA.MDL,CHECK.CLO,,,,extra\n"
        "SOFA.MDL,KNIT.CLO";
    const std::vector<CatalogueLine> lines = parseCatalogueManifest(text, "/cat", CatalogueFormat::Bmp);
    struct Want {
        int32_t lineNumber;
        const char* model;
        const char* output;
        int32_t layout;
        float contrast;
        int32_t reflection, soft;
        const char* error;  // the start of it; "" when none
    };
    const Want want[] = {
        {2, "/cat/SOFA.MDL", "SOFA-CHECK.BMP", 0, 1.0f, 0, 0, ""},
        {4, "/cat/models/DRESS.MDL", "DRESS-STRIPE.BMP", 1, 1.5f, 1, 1, ""},
        {5, "/cat/SOFA.MDL", "SOFA-CHECK-2.BMP", 2, 1.0f, 0, 1, ""},
        {6, "/cat/A,B.MDL", "A,B-say \"hi\".BMP", 0, 0.1f, 0, 0, ""},
        {7, "", "", 0, 1.0f, 0, 0, "a dress needs a model and a material"},
        {8, "/cat/SOFA.MDL", "SOFA-CHECK-3.BMP", 0, 1.0f, 0, 0, "the layout is"},
        {9, "/cat/SOFA.MDL", "SOFA-CHECK-4.BMP", 0, 1.0f, 0, 0, "the contrast is"},
        {10, "/cat/SOFA.MDL", "SOFA-CHECK-5.BMP", 0, 1.0f, 0, 0, "the shading is"},
        {11, "", "SOFA-CHECK-6.BMP", 0, 1.0f, 0, 0, "more than five fields"},
        {12, "/cat/SOFA.MDL", "SOFA-KNIT.BMP", 0, 1.0f, 0, 0, ""},
    };
    ASSERT_EQ(lines.size(), std::size(want));
    for (size_t i = 0; i < lines.size(); ++i) {
        const CatalogueLine& l = lines[i];
        const Want& w = want[i];
        SCOPED_TRACE(w.lineNumber);
        EXPECT_EQ(l.lineNumber, w.lineNumber);
        EXPECT_EQ(l.number, int64_t(i));
        EXPECT_EQ(l.output, w.output);
        EXPECT_EQ(l.error.rfind(w.error, 0), 0u) << l.error;
        EXPECT_EQ(l.error.empty(), *w.error == '\0');
        if (!l.error.empty()) continue;
        EXPECT_EQ(l.model, w.model);
        EXPECT_EQ(l.layout, w.layout);
        EXPECT_FLOAT_EQ(l.contrast, w.contrast);
        EXPECT_EQ(l.reflection, w.reflection);
        EXPECT_EQ(l.soft, w.soft);
    }
    EXPECT_EQ(lines[1].material, "/lib/STRIPE.CLO");
    EXPECT_EQ(parseCatalogueManifest("SOFA.MDL,CHECK.CLO", ".", CatalogueFormat::Rgb)[0].output, "SOFA-CHECK.RGB");

    // Three shards take every line once.
    for (const CatalogueLine& l : lines) {
        int shards = 0;
        for (int i = 0; i < 3; ++i) shards += inShard(l, i, 3);
        EXPECT_EQ(shards, 1);
    }
}

}  // namespace
}  // namespace orx
