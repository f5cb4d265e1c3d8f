#include "platform/CObject.h"

#include <memory>

#include <gtest/gtest.h>

namespace {

class Shape : public CObject
{
    DECLARE_DYNAMIC(Shape)
};
IMPLEMENT_DYNAMIC(Shape, CObject)

class Circle : public Shape
{
    DECLARE_DYNCREATE(Circle)
};
IMPLEMENT_DYNCREATE(Circle, Shape)

TEST(RuntimeClass, CreatesByClassAndKnowsTheTree)
{
    const CRuntimeClass* cls = CRuntimeClass::FromName("Circle");
    ASSERT_EQ(cls, RUNTIME_CLASS(Circle));
    std::unique_ptr<CObject> object(cls->CreateObject());
    ASSERT_NE(object, nullptr);
    EXPECT_STREQ(object->GetRuntimeClass()->m_lpszClassName, "Circle");
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(Shape)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(Shape)->IsDerivedFrom(RUNTIME_CLASS(Circle)));
    EXPECT_EQ(RUNTIME_CLASS(Shape)->CreateObject(), nullptr); // abstract: no factory
    EXPECT_EQ(CRuntimeClass::FromName("NoSuchClass"), nullptr);
}

} // namespace
