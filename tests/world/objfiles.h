#ifndef QUELLARIS_TESTS_WORLD_OBJFILES_H
#define QUELLARIS_TESTS_WORLD_OBJFILES_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace objfiles {

// A unit cube, +-0.5 on every axis, wound counter-clockwise seen from outside.
inline const char* const UNIT_CUBE =
    "v -0.5 -0.5 -0.5\nv 0.5 -0.5 -0.5\nv 0.5 0.5 -0.5\nv -0.5 0.5 -0.5\n"
    "v -0.5 -0.5 0.5\nv 0.5 -0.5 0.5\nv 0.5 0.5 0.5\nv -0.5 0.5 0.5\n"
    "vt 0 0\nvn 0 0 1\n"
    "f 1/1/1 4/1/1 3/1/1\nf 1/1/1 3/1/1 2/1/1\n"
    "f 5/1/1 6/1/1 7/1/1\nf 5/1/1 7/1/1 8/1/1\n"
    "f 1/1/1 5/1/1 8/1/1\nf 1/1/1 8/1/1 4/1/1\n"
    "f 2/1/1 3/1/1 7/1/1\nf 2/1/1 7/1/1 6/1/1\n"
    "f 1/1/1 2/1/1 6/1/1\nf 1/1/1 6/1/1 5/1/1\n"
    "f 4/1/1 8/1/1 7/1/1\nf 4/1/1 7/1/1 3/1/1\n";

// A folder of its own for the running test, removed when the test ends.
class TempFolder {
public:
    TempFolder() {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        _path = std::filesystem::temp_directory_path() /
                ("quellaris_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                 std::to_string(::getpid()));
        std::filesystem::create_directories(_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes the text byte for byte (no line-end translation) and returns the file's path.
    std::string write(const std::string& name, const std::string& text) const {
        const std::filesystem::path file = _path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << text;
        return file.string();
    }

    std::string path() const { return _path.string(); }

private:
    std::filesystem::path _path;
};

// A mesh folder with the cube renderer's three meshes, all three the unit cube.
class MeshFolder {
public:
    MeshFolder() {
        for (const char* name : {"cube.obj", "cube_bevel.obj", "sphere.obj"}) {
            _folder.write(std::string("mesh/") + name, UNIT_CUBE);
        }
    }
    std::string path() const { return _folder.path() + "/mesh"; }

private:
    TempFolder _folder;
};

}  // namespace objfiles

#endif
