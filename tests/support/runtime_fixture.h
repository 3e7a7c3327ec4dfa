// A general heap and a temporary text area for tests of runtime operations,
// fresh for every test.
#pragma once

#include "base/runtime/memory.h"
#include "base/text/text.h"

#include <gtest/gtest.h>

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        GeneralHeap = CreatePrivateHeap();
        StartTextArea();
    }
    void TearDown() override {
        EndTextArea();
        DestroyPrivateHeap(GeneralHeap);
        GeneralHeap = nullptr;
    }
};
