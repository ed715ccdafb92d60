// Writes the model seed corpora from the test fixture writer: FOLDER/md3, FOLDER/ase and
// FOLDER/lwo, each with the standard fixture and variants (faults included).
#include <filesystem>
#include <fstream>
#include <string>

#include "ModelFixtures.h"

namespace {

void put(const std::filesystem::path& folder, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path root(argv[1]);
    Md3FixtureLayout layout;
    const std::string md3 = Md3File(Md3StandardFixture(), &layout);
    put(root / "md3", "standard.md3", md3);
    Md3Fixture one = Md3StandardFixture();
    one.surfaces.resize(1);
    one.frameCount = 1;
    put(root / "md3", "one_frame.md3", Md3File(one));
    std::string bad = md3;
    FixtureSet32(bad, layout.surfaces[1] + 108 + 68 + 4, 517);
    put(root / "md3", "triangle_index.md3", bad);
    bad = md3;
    FixtureSet32(bad, layout.surfaces[1] + 72, 2);
    put(root / "md3", "surface_frames.md3", bad);

    const std::string ase = AseStandardFixture();
    put(root / "ase", "standard.ase", ase);
    put(root / "ase", "one_object.ase",
        ase.substr(0, ase.find("*GEOMOBJECT")) + AseFixtureObject("box", 1, 0, 0.0f));
    // More objects than the old fixed limit of 64.
    std::string many = ase;
    for (int i = 0; i < 70; ++i)
        many += AseFixtureObject("part" + std::to_string(i), i % 2, 0, 40.0f * float(i));
    put(root / "ase", "many_objects.ase", many);

    put(root / "lwo", "standard.lwo", LwoStandardFixture(false));
    put(root / "lwo", "standard_box.lwo", LwoStandardFixture(true));
    put(root / "lwo", "flat.lwo",
        LwoForm(LwoTags({"s"}) + LwoLayer(1) + LwoSurface("s", 1.0f) +
                LwoPoints({0, 0, 0, 1, 0, 0, 0, 0, 1}) + LwoPolygons({{0, 1, 2}}) +
                LwoTexMap({{0, 0, 0.5f, 0.5f}}, true)));
    // Texture maps without coordinates (dimension 0) beside a usable one.
    put(root / "lwo", "txuv_dimension0.lwo",
        LwoForm(LwoTags({"s"}) + LwoLayer(1) + LwoPoints({0, 0, 0, 1, 0, 0, 0, 0, 1}) +
                LwoPolygons({{0, 1, 2}}) + LwoTexMap({{0, -1, 0.5f, 0.5f}}, false, 0) +
                LwoTexMap({{1, 0, 0.5f, 0.5f}}, true)));
    return 0;
}
