// The udev rule made from the catalogue: every device of the catalogue on both buses, in lines udev reads.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "device/CatalogueReader.h"
#include "device/NodeAccess.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/TempDir.h"
#include "tools/udev/UdevRule.h"

namespace mousecfg {
namespace {

// One "KEY==value" or "KEY+=value" term of a rule line.
struct Term {
    std::string key;
    std::string op;
    std::string value;
};

// Reads a rule file the way udev's parser sees its lines: comments and blank lines skipped, every other line
// a comma-separated list of KEY OP "VALUE" terms. Fails the test on a line it cannot read.
std::vector<std::vector<Term>> ParseRules(const std::string& text) {
    std::vector<std::vector<Term>> rules;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<Term> rule;
        size_t at = 0;
        while (at < line.size()) {
            const size_t op = line.find_first_of("=+!", at);
            const size_t open = line.find('"', at);
            const size_t close = open == std::string::npos ? open : line.find('"', open + 1);
            if (op == std::string::npos || open == std::string::npos || close == std::string::npos || op > open) {
                ADD_FAILURE() << "unreadable rule: " << line;
                return rules;
            }
            rule.push_back({line.substr(at, op - at), line.substr(op, open - op),
                            line.substr(open + 1, close - open - 1)});
            at = close + 1;
            if (at < line.size() && line.compare(at, 2, ", ") != 0) {
                ADD_FAILURE() << "terms must be separated by \", \": " << line;
                return rules;
            }
            at += 2;
        }
        rules.push_back(rule);
    }
    return rules;
}

// The KERNELS patterns of the rules that tag hidraw nodes for the seat's user.
std::vector<std::string> TaggedDevices(const std::string& text) {
    std::vector<std::string> devices;
    for (const auto& rule : ParseRules(text)) {
        std::string kernels;
        bool hidraw = false, uaccess = false;
        for (const Term& term : rule) {
            const bool known = (term.key == "SUBSYSTEM" && term.op == "==") ||
                               (term.key == "KERNELS" && term.op == "==") || (term.key == "TAG" && term.op == "+=");
            EXPECT_TRUE(known) << term.key << term.op << term.value;
            hidraw = hidraw || (term.key == "SUBSYSTEM" && term.value == "hidraw");
            uaccess = uaccess || (term.key == "TAG" && term.value == "uaccess");
            kernels = term.key == "KERNELS" ? term.value : kernels;
        }
        if (hidraw && uaccess) {
            devices.push_back(kernels);
        }
    }
    return devices;
}

TEST(UdevRule, EveryPairOfTheCatalogueOnBothBusesOnceAndInvalidIdsLeftOut) {
    const Catalogue catalogue = ParseCatalogue(R"({"NDevice": [
        {"Pid": "0007,00aB", "Vid": "1209,1209"},
        {"Pid": "0007,zz,10000", "Vid": "1209,1d57,1d57"}]})");
    EXPECT_EQ(TaggedDevices(udev::RuleText(udev::CatalogueDeviceIds(catalogue))),
              (std::vector<std::string>{"0003:1209:0007.*", "0003:1209:00AB.*", "0003:1D57:0000.*",
                                        "0005:1209:0007.*", "0005:1209:00AB.*", "0005:1D57:0000.*"}));
}

TEST(UdevRule, TheBuiltRuleCoversTheShippedCatalogueUnderTheNameTheProgramsGive) {
    const std::filesystem::path built = MOUSECFG_UDEV_RULE;
    EXPECT_EQ(built.filename().string(), kUdevRuleName);
    const std::string text = test::TempDir::Read(built);
    const std::vector<std::string> tagged = TaggedDevices(text);
    const Catalogue catalogue = ParseCatalogue(test::VirtualMouseCatalogue());
    ASSERT_FALSE(catalogue.records.empty());
    for (const DeviceRecord& record : catalogue.records) {
        for (size_t i = 0; i < record.productIds.size(); ++i) {
            for (const char* bus : {"0003", "0005"}) {
                char pattern[32];
                std::snprintf(pattern, sizeof pattern, "%s:%04X:%04X.*", bus, record.vendorIds.at(i),
                              record.productIds[i]);
                EXPECT_NE(std::find(tagged.begin(), tagged.end(), pattern), tagged.end()) << pattern << "\n" << text;
            }
        }
    }
}

}  // namespace
}  // namespace mousecfg
