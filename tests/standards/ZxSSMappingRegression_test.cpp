// Mapping files must never lose the lines of other targets.

#include "StandardsTestSupport.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "standards/ZxSSMapping.h"

#include <gtest/gtest.h>

using standards_test::ScratchLibrary;

namespace
{
/// Sets the host's read limit for the life of the guard.
class ReadLimit
{
public:
    explicit ReadLimit(std::uintmax_t bytes) : previous_(host::setMaxReadFileSize(bytes)) {}
    ~ReadLimit() { host::setMaxReadFileSize(previous_); }
    ReadLimit(const ReadLimit&) = delete;
    ReadLimit& operator=(const ReadLimit&) = delete;

private:
    std::uintmax_t previous_;
};
} // namespace

// A mapping file that existed but could not be read was replaced by a file holding only the
// new line, so storing one target's mapping wiped out the mappings of all the others.
TEST(ZxSSMappingRegression, UnreadableFileIsNotOverwritten)
{
    ScratchLibrary library;
    const std::string file = "Mapping version 1.0\n"
                             "Plate=Gap\x83Plate\x95"
                             "Distance Gap\n"
                             "Cleat=Grade\x83\x95GenVar gen_Grade\n";
    library.writeFile("Sheet.map", file);

    ZxSSMapping mapping;
    ASSERT_EQ(mapping.initMappingFromLine("Fin=Bolts\x83"
                                          "Fin\x95PatternNrBolts1 P1"),
              Acad::eOk);
    ASSERT_EQ(mapping.mappedObjects().length(), 1);
    Kdr_String target = "Fin";
    {
        ReadLimit tiny(16);
        host::CommandLineCapture output;
        EXPECT_EQ(mapping.setMappingToFile("Sheet", target), Acad::eInvalidInput);
        EXPECT_NE(output.text().find("Sheet.map"), std::string::npos) << output.text();
    }
    EXPECT_EQ(library.readFile("Sheet.map"), file);

    // Readable again, the new line joins the others.
    ASSERT_EQ(mapping.setMappingToFile("Sheet", target), Acad::eOk);
    EXPECT_EQ(library.readFile("Sheet.map"), file + "Fin=Bolts\x83"
                                                    "Fin\x95PatternNrBolts1 P1\n");
}
