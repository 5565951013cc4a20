#pragma once
// A document over a headless host and an in-memory profile, with records made in memory.

#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vespario::test {

class DocFixture : public ::testing::Test {
protected:
    explicit DocFixture(const PositionServices *astro = nullptr) : doc(host, profile, astro) {}

    // Appends a record and makes it current, then stores the given fields.
    int AddRecord(std::initializer_list<std::pair<int, std::string_view>> fields) {
        doc.NewObject();
        for (const auto &[n, text] : fields)
            doc.SetFieldText(n, text);
        return doc.CurrentIndex();
    }

    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc;
};

} // namespace vespario::test
