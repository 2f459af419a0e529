#include "ProgramRun.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace
{
using namespace clitest;

/// The report's date is pinned the way reproducible builds pin theirs.
RunOptions pinnedDate()
{
    RunOptions options;
    options.env["SOURCE_DATE_EPOCH"] = "1765188000";
    return options;
}
const RunOptions kPinned = pinnedDate();

/// A text as the report writes it into its page.
std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

/// The equations of a sample sheet: every "data 1 <row> <text>" line of its Calc block.
std::vector<std::pair<int, std::string>> sampleEquations(const std::string& sheet, int firstRow)
{
    std::ifstream in(samplesFolder() / "library" / "Connection Standards" / sheet);
    std::vector<std::pair<int, std::string>> equations;
    std::string line;
    const std::regex data(R"(^data\t1\t(\d+)\t(.*)$)");
    std::smatch match;
    while (std::getline(in, line))
        if (std::regex_match(line, match, data) && std::stoi(match[1]) >= firstRow)
            equations.emplace_back(std::stoi(match[1]), match[2]);
    return equations;
}

/// The row of the calculation table for the equation on `row`, with its three texts.
std::string calculationRow(int row, const std::string& written, const std::string& substituted,
                           const std::string& result)
{
    return "<tr><td class=\"num\">" + std::to_string(row) + "</td><td><span class=\"eq\">" +
           escaped(written) + "</span></td><td><span class=\"eq\">" + escaped(substituted) +
           "</span></td><td><code>" + escaped(result) + "</code></td></tr>";
}

std::string inputRow(const std::string& name, const std::string& type, const std::string& value,
                     const std::string& source)
{
    return "<tr><td><code>" + escaped(name) + "</code></td><td>" + type + "</td><td><code>" + escaped(value) +
           "</code></td><td>" + escaped(source) + "</td></tr>";
}

std::string outputRow(const std::string& name, const std::string& type, const std::string& before,
                      const std::string& after, const std::string& source)
{
    const bool changed = before != after;
    return std::string(changed ? "<tr class=\"changed\">" : "<tr>") + "<td><code>" + escaped(name) +
           "</code></td><td>" + type + "</td><td class=\"old\"><code>" + escaped(before) +
           "</code></td><td class=\"new\"><code>" + escaped(after) + "</code>" +
           (changed ? " <span class=\"muted\">(changed)</span>" : "") + "</td><td>" + escaped(source) +
           "</td></tr>";
}

#define EXPECT_HAS(html, part) EXPECT_NE((html).find(part), std::string::npos) << "missing: " << (part)
} // namespace

TEST(Report, SampleEndPlateShowsEveryInputEquationAndOutput)
{
    ScratchFolder scratch;
    const std::string file = scratch / "endplate.html";
    ProgramResult result = runProgram(
        {"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"), "--report", file}, kPinned);
    ASSERT_EQ(result.status, 0) << result.err;
    // The results still go to standard output as without a report.
    EXPECT_NE(result.out.find("Output\tDouble\tWeight\t8.95\n"), std::string::npos);
    const std::string html = readFile(file);

    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_HAS(html, "<tr><th>Date</th><td>2025-12-08 10:00:00 UTC</td></tr>");
    EXPECT_HAS(html, "<tr><th>Mapping target</th><td><code>Module.Plate</code></td></tr>");
    EXPECT_HAS(html, "EndPlate.zxs</code> <span class=\"muted\">(modified ");
    EXPECT_HAS(html, "<tr><th>Result</th><td><span class=\"ok\">ok</span>");

    for (const auto& [name, type, value] :
         std::vector<std::tuple<std::string, std::string, std::string>>{{"Beam.Name", "String", "IPE 300"},
                                                                        {"Column.Name", "String", "HEA 260"},
                                                                        {"Bolts.Diameter", "Double", "20"},
                                                                        {"gen.BoltGrade", "Double", "8.8"},
                                                                        {"TopExtension", "Double", "40"},
                                                                        {"BottomExtension", "Double", "40"}})
        EXPECT_HAS(html, inputRow(name, type, value, "module group Plate"));

    // Every equation of the sheet, as written, in order.
    const auto equations = sampleEquations("EndPlate.zxs", 25);
    ASSERT_EQ(equations.size(), 15u);
    size_t at = 0;
    for (const auto& [row, text] : equations)
    {
        const size_t found = html.find("<td class=\"num\">" + std::to_string(row) +
                                           "</td><td><span class=\"eq\">" + escaped(text) + "</span>",
                                       at);
        ASSERT_NE(found, std::string::npos) << text;
        at = found;
    }
    // With the values it used substituted, and its result.
    EXPECT_HAS(html, calculationRow(25, "BeamSys = GETSYSNAME(Beam.Name)",
                                    "BeamSys = GETSYSNAME(\"IPE 300\")", "IPE-300"));
    EXPECT_HAS(html,
               calculationRow(30,
                              "MinThickness = MAX(TONUMBER(GETPROFCELL(\"EndPlateThickness.txt\", BeamSys)), "
                              "TONUMBER(GETCELL(\"BoltPlateThickness.txt\", Bolts.Diameter, gen.BoltGrade)))",
                              "MinThickness = MAX(TONUMBER(GETPROFCELL(\"EndPlateThickness.txt\", "
                              "\"IPE-300\")), TONUMBER(GETCELL(\"BoltPlateThickness.txt\", 20, 8.8)))",
                              "15"));
    EXPECT_HAS(html, calculationRow(33, "Height = ROUNDTO(BeamH + TopExtension + BottomExtension, 5)",
                                    "Height = ROUNDTO(300 + 40 + 40, 5)", "380"));
    EXPECT_HAS(html,
               calculationRow(37, "CallChild(\"BoltRowCount.csv\", Height, EdgeDistance, Pitch, BoltRows)",
                              "CallChild(\"BoltRowCount.csv\", 380, 40, 70, 4)", "BoltRows = 5"));
    EXPECT_HAS(html, calculationRow(39, "Weight = ROUNDTO(Width * Height * Thickness * 0.00000785, 0.01)",
                                    "Weight = ROUNDTO(200 * 380 * 15 * 0.00000785, 0.01)", "8.95"));
    // The child sheet is a collapsible section of its own, with its inputs and outputs.
    EXPECT_HAS(html, "<details open class=\"child\"><summary>Child sheet <code>");
    EXPECT_HAS(html, "BoltRowCount.csv</code> <span class=\"ok\">ok</span></summary>");
    EXPECT_HAS(html, inputRow("Depth", "Double", "380", "argument 1 (Height)"));
    EXPECT_HAS(html, outputRow("Rows", "Double", "4", "5", "argument 4 (BoltRows)"));

    // Every output with the macro's old value and the new one; changes are marked.
    for (const auto& [name, type, before, after] :
         std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"Thickness", "Double", "12", "15"},
             {"Width", "Double", "180", "200"},
             {"Height", "Double", "360", "380"},
             {"EdgeDistance", "Double", "35", "40"},
             {"Pitch", "Double", "60", "70"},
             {"BoltRows", "Int", "4", "5"},
             {"Main.NrBolts1", "Int", "4", "5"},
             {"Weight", "Double", "0", "8.95"}})
        EXPECT_HAS(html, outputRow(name, type, before, after, "module group Plate"));

    // The data look-ups name the file, the key and the value, and the equation behind them.
    EXPECT_HAS(html, "<tr><td>GETCELL</td><td><code>");
    EXPECT_HAS(html,
               "Data/BoltPlateThickness.txt</code></td><td><code>20;8.8</code></td><td><code>12</code></td>"
               "<td><span class=\"eq\">MinThickness = MAX(");
    EXPECT_HAS(html,
               "Data/BoltSpacing.txt</code></td><td><code>20</code></td><td><code>40;70;90</code></td>"
               "<td><span class=\"eq\">Spacing = GETCELL(&quot;BoltSpacing.txt&quot;, Bolts.Diameter)</span> "
               "(34)</td></tr>");
    EXPECT_HAS(html, "<tr><td>SECTIONSIZE</td><td><code>prof/IPE.pr</code></td><td><code>IPE-300, property 1 "
                     "(h)</code></td><td><code>300</code></td>");

    // Self-contained: no scripts, nothing fetched.
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos);
    EXPECT_EQ(html.find("<link"), std::string::npos);
}

TEST(Report, SampleFinPlateNamesTheBoundMacroVariables)
{
    ProgramResult result = runProgram(
        {"evaluate", "FinPlate", "--macro", sampleMacro("FinPlate-IPE240.json"), "--report", "-"}, kPinned);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string& html = result.out;
    // Standard output holds the report and nothing else.
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_EQ(html.find("Output\tDouble"), std::string::npos);
    EXPECT_EQ(html.substr(html.size() - 8), "</html>\n");

    EXPECT_HAS(html, inputRow("BeamSection", "String", "IPE-240", "PrPlName Prof1"));
    EXPECT_HAS(html, inputRow("BeamDepth", "Double", "240", "MemberSectionSize Prof1;0"));
    EXPECT_HAS(html, inputRow("BoltDiameter", "Double", "20", "FinBolts: BoltsDiameter"));

    const auto equations = sampleEquations("FinPlate.zxs", 22);
    ASSERT_EQ(equations.size(), 12u);
    for (const auto& [row, text] : equations)
        EXPECT_HAS(html, "<td class=\"num\">" + std::to_string(row) + "</td><td><span class=\"eq\">" +
                             escaped(text) + "</span>");
    EXPECT_HAS(html, calculationRow(27, "Clear = BeamDepth - 2 * (Flange + Root)",
                                    "Clear = 240 - 2 * (9.8 + 15)", "190.4"));
    EXPECT_HAS(html, calculationRow(32, "NrBolts = BoltRows & \"\"", "NrBolts = 2 & \"\"", "2"));
    // Eight outputs, each with its old and new value.
    const std::string heading = "<h2>Outputs</h2>\n<table class=\"outputs\">";
    const size_t start = html.find(heading);
    ASSERT_NE(start, std::string::npos);
    const std::string table = html.substr(start, html.find("</table>", start) - start);
    int rows = 0;
    for (size_t at = table.find("<td class=\"old\">"); at != std::string::npos;
         at = table.find("<td class=\"old\">", at + 1))
        ++rows;
    EXPECT_EQ(rows, 8);
    EXPECT_HAS(table, "<code>PlateThickness</code>");
    EXPECT_HAS(table, "<td class=\"new\"><code>10</code>");
}

TEST(Report, FailedEquationsChildCirclesAndHostileNamesAreShownSafely)
{
    ScratchFolder scratch;
    const std::string lib = scratch.copyOfSampleLibrary();
    scratch.write(
        "library/Connection Standards/Childs/Ping.csv",
        "Input\nDouble A\nOutput\nDouble C\nCalc\n\"CallChild(\"\"Pong.csv\"\", A, C)\"\nC = A + 1\n");
    scratch.write(
        "library/Connection Standards/Childs/Pong.csv",
        "Input\nDouble A\nOutput\nDouble C\nCalc\n\"CallChild(\"\"Ping.csv\"\", A, C)\"\nC = A * 2\n");
    const std::string sheet = scratch.write(
        "Main.csv",
        "Input\nDouble TopExtension\nOutput\nDouble Width\n\"Double <script>alert('x')</script>\"\n"
        "Calc\n"
        "\"CallChild(\"\"Ping.csv\"\", TopExtension, Width)\"\n"
        "Width = Unknown * 2\n"
        "\"<script>alert('x')</script> = TopExtension + 1\"\n");
    const std::string file = scratch / "report.html";
    ProgramResult result =
        runProgram({"--lib", lib, "--no-messages", "evaluate", sheet, "--macro",
                    sampleMacro("EndPlate-IPE300.json"), "--target", "Module.Plate", "--report", file},
                   kPinned);
    EXPECT_EQ(result.status, 1);
    const std::string html = readFile(file);
    EXPECT_HAS(html, "<tr><th>Result</th><td><span class=\"bad\">failed</span> &mdash; 2 failed equation(s)");

    // The unknown variable: marked, with the message the module shows.
    EXPECT_HAS(html, "<tr class=\"failed\"><td class=\"num\">8</td><td><span class=\"eq\">Width = Unknown * "
                     "2</span></td><td><span class=\"eq\">Width = Unknown * 2</span></td><td><span "
                     "class=\"bad\">failed:</span> ");
    EXPECT_HAS(html,
               "<pre class=\"message\">The following equation failed:\nWidth = Unknown * 2\nSpreadsheet : ");
    EXPECT_HAS(html, "(line: 8)\nHere&#39;s a tip for finding the cause :\n");

    // The circle: Ping calls Pong, which calls Ping again; that call fails inside Pong.
    EXPECT_HAS(html, "Ping.csv</code> <span class=\"bad\">failed</span></summary>");
    EXPECT_HAS(html, "Pong.csv</code> <span class=\"bad\">failed</span></summary>");
    EXPECT_HAS(html, "the child calls form a circle: Ping.csv -&gt; Pong.csv -&gt; Ping.csv");
    // The equations after the failed call still ran.
    EXPECT_HAS(html, "<td class=\"num\">7</td><td><span class=\"eq\">C = A * 2</span>");

    // The hostile name is text, never markup.
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_HAS(html, "<code>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;</code>");
    EXPECT_HAS(html, "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; = 40 + 1");
}

TEST(Report, SeveralMacrosShareOneFileWithASummaryFirst)
{
    ScratchFolder scratch;
    const std::string broken = scratch.write("broken.json", "{ not json");
    const std::string file = scratch / "all.html";
    ProgramResult result =
        runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"), "--macro",
                    sampleMacro("EndPlate-IPE400.json"), "--macro", broken, "--report", file},
                   kPinned);
    EXPECT_EQ(result.status, 3) << result.err;
    const std::string html = readFile(file);
    const size_t summary = html.find("<table class=\"summary\">");
    ASSERT_NE(summary, std::string::npos);
    EXPECT_LT(summary, html.find("<section class=\"macro\" id=\"macro-1\">"));
    EXPECT_HAS(html,
               "EndPlate-IPE300.json</a></td><td>EndPlate</td><td><code>Module.Plate</code></td><td><span "
               "class=\"ok\">ok</span></td><td class=\"num\">0</td></tr>");
    EXPECT_HAS(html, "EndPlate-IPE400.json</a></td><td>EndPlate</td>");
    EXPECT_HAS(html, "<tr class=\"failed\"><td><a href=\"#macro-3\">" + escaped(broken) + "</a>");
    EXPECT_HAS(html, "<section class=\"macro\" id=\"macro-3\">");
    EXPECT_HAS(html, "The evaluation did not start.");

    // The same command twice gives the same file: the date is pinned, nothing else varies.
    const std::string again = scratch / "again.html";
    runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"), "--macro",
                sampleMacro("EndPlate-IPE400.json"), "--macro", broken, "--report", again},
               kPinned);
    EXPECT_EQ(readFile(again), html);
}

TEST(Report, ReportOptionsAreChecked)
{
    ProgramResult both = runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"),
                                     "--report", "-", "--out", "-"});
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.err.find("cannot both go to standard output"), std::string::npos) << both.err;

    ScratchFolder scratch;
    ProgramResult unwritable =
        runProgram({"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"), "--report",
                    scratch / "missing-folder/report.html"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("report.html"), std::string::npos) << unwritable.err;
}

TEST(Report, TheTabsTemplatePictureCarriesTheBoundValues)
{
    ProgramResult result = runProgram(
        {"evaluate", "EndPlate", "--macro", sampleMacro("EndPlate-IPE300.json"), "--report", "-"}, kPinned);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string& html = result.out;
    EXPECT_HAS(
        html,
        "<p class=\"muted\">Template <code>End plate</code> with the values bound to its controls.</p>");
    // The picture is inside the page as a PNG ("iVBORw0KGgo" is the PNG signature in base64).
    EXPECT_HAS(
        html,
        "<img alt=\"template picture\" width=\"300\" height=\"220\" src=\"data:image/png;base64,iVBORw0KGgo");
    // Each value after the evaluation sits in its control's rectangle; text labels keep their captions.
    for (const auto& [variable, value] :
         std::vector<std::pair<std::string, std::string>>{{"Height", "380"},
                                                          {"Weight", "8.95"},
                                                          {"Thickness", "15"},
                                                          {"TopExtension", "40"},
                                                          {"Main", "5"},
                                                          {"Beam", "IPE 300"}})
    {
        const std::regex label("<span class=\"bound\" title=\"" + variable +
                               "\" style=\"left:\\d+px;top:\\d+px;width:\\d+px;height:\\d+px\">" + value +
                               "</span>");
        EXPECT_TRUE(std::regex_search(html, label)) << variable;
    }
    EXPECT_HAS(html, ">Bolt rows</span>");

    ProgramResult fin = runProgram(
        {"evaluate", "FinPlate", "--macro", sampleMacro("FinPlate-IPE240.json"), "--report", "-"}, kPinned);
    ASSERT_EQ(fin.status, 0) << fin.err;
    EXPECT_HAS(fin.out, "Template <code>Plates/Fin plate</code>");
    EXPECT_HAS(fin.out, "src=\"data:image/png;base64,iVBORw0KGgo");
}

TEST(Report, AMissingTemplateLeavesThePictureOutAndSaysSo)
{
    ScratchFolder scratch;
    std::string macro = readFile(sampleMacro("EndPlate-IPE300.json"));
    const std::string named = "\"template\": \"End plate\"";
    ASSERT_NE(macro.find(named), std::string::npos);
    macro.replace(macro.find(named), named.size(), "\"template\": \"Nowhere\"");
    const std::string path = scratch.write("macro.json", macro);
    ProgramResult result = runProgram({"evaluate", "EndPlate", "--macro", path, "--report", "-"}, kPinned);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.find("Dialog picture"), std::string::npos);
    EXPECT_NE(
        result.err.find("the dialog template \"Nowhere\" of tab \"Plate\" or its picture cannot be read"),
        std::string::npos)
        << result.err;
}
