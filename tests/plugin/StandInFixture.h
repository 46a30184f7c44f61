// A stand-in host with the plug-in loaded and registered; every test ends by checking that
// the plug-in left nothing behind: objects, values, interface references, memory, faults.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/HostInterfaces.h"
#include "plugin/ScriptObject.h"
#include "plugin/host/StandInHost.h"

namespace OZKPELLMOR::standin {

class StandInTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load()) << Faults();
        ASSERT_EQ(host.Register(), HostOk);
    }

    void TearDown() override {
        for (ScriptInstance* object : objects_)
            host.DeleteObject(object);
        objects_.clear();
        EXPECT_EQ(host.LiveValues(), 0u) << "values the plug-in did not release";
        EXPECT_EQ(host.ExtraServiceRefs(), 0) << host.ServiceRefReport();
        EXPECT_EQ(host.allocator.LiveBlocks(), 0u);
        EXPECT_EQ(host.media.openRequests, 0);
        EXPECT_EQ(host.dllCanUnloadNow(), HostOk);
        EXPECT_TRUE(host.Faults().empty()) << Faults();
    }

    // A script object, deleted at the end of the test.
    ScriptInstance* NewObject() {
        ScriptInstance* object = host.NewObject();
        EXPECT_NE(object, nullptr) << Faults();
        if (object)
            objects_.push_back(object);
        return object;
    }

    void DeleteObject(ScriptInstance* object) {
        std::erase(objects_, object);
        host.DeleteObject(object);
    }

    // The plug-in's view of the object (its fields after the host's header).
    static ScriptObject& State(ScriptInstance* object) {
        return *reinterpret_cast<ScriptObject*>(object->Header());
    }

    std::string Faults() const {
        std::string text;
        for (const std::string& fault : host.Faults())
            text += fault + "\n";
        return text;
    }

    Host host;

private:
    std::vector<ScriptInstance*> objects_;
};

}  // namespace OZKPELLMOR::standin
