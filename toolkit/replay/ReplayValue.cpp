#include "replay/ReplayValue.h"

#include "core/maths/Tolerance.h"
#include "core/maths/Xform.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace QEL {

namespace {

const char* const s_notExpectedType = "Replay argument not expected type";
const char* const s_notDoublePointer = "Expected double* replay argument";

}  // namespace

ReplayValue::ReplayValue()
    : m_kind(ReplayValueKindNone), m_direction(ReplayDirectionUnset), m_isNull(false)
{
    std::memset(&m_scalar, 0, sizeof m_scalar);
}

ReplayValue::ReplayValue(const ReplayValue& other)
    : m_kind(other.m_kind),
      m_direction(other.m_direction),
      m_isNull(other.m_isNull),
      m_string(other.m_string),
      m_tagArray(other.m_tagArray),
      m_doubleArray(other.m_doubleArray),
      m_tagArrayArray(other.m_tagArrayArray),
      m_transformArray(other.m_transformArray),
      m_positionArray(other.m_positionArray),
      m_position(other.m_position)
{
    std::memcpy(&m_scalar, &other.m_scalar, sizeof m_scalar);
}

ReplayValue& ReplayValue::operator=(const ReplayValue& other)
{
    if (this == &other)
        return *this;
    m_kind = other.m_kind;
    m_direction = other.m_direction;
    m_isNull = other.m_isNull;
    std::memcpy(&m_scalar, &other.m_scalar, sizeof m_scalar);
    m_string = other.m_string;
    m_tagArray = other.m_tagArray;
    m_doubleArray = other.m_doubleArray;
    m_tagArrayArray = other.m_tagArrayArray;
    m_transformArray = other.m_transformArray;
    m_positionArray = other.m_positionArray;
    m_position = other.m_position;
    return *this;
}

ReplayValue::~ReplayValue() = default;

void ReplayValue::Clear()
{
    std::memset(&m_scalar, 0, sizeof m_scalar);
    m_string.clear();
    m_tagArray.RemoveAll();
    m_doubleArray.RemoveAll();
    m_tagArrayArray.RemoveAll();
    m_transformArray.RemoveAll();
    m_positionArray.RemoveAll();
    // Kind 11 has its payload in the Position; an empty value of that kind is the origin.
    m_position = Position();
}

void ReplayValue::Reset()
{
    Clear();
    m_kind = ReplayValueKindNone;
    m_direction = ReplayDirectionUnset;
    m_isNull = false;
}

ReplayValue& ReplayValue::SetInt(int value)
{
    Reset();
    m_scalar.m_int = value;
    m_kind = ReplayValueKindInt;
    return *this;
}

ReplayValue& ReplayValue::SetDouble(double value)
{
    Reset();
    m_scalar.m_matrix[0][0] = value;
    m_kind = ReplayValueKindDouble;
    return *this;
}

ReplayValue& ReplayValue::SetBool(bool value)
{
    Reset();
    m_scalar.m_bool = value;
    m_kind = ReplayValueKindBool;
    return *this;
}

ReplayValue& ReplayValue::SetTagArray(const Array<int>& tags)
{
    Reset();
    m_tagArray = tags;
    m_kind = ReplayValueKindTagArray;
    return *this;
}

ReplayValue& ReplayValue::SetTagArrayArray(const Array<Array<int>>& tagArrays)
{
    Reset();
    m_tagArrayArray = tagArrays;
    m_kind = ReplayValueKindTagArrayArray;
    return *this;
}

ReplayValue& ReplayValue::SetTransformArray(const Array<Double4x4>& transforms)
{
    Reset();
    m_transformArray = transforms;
    m_kind = ReplayValueKindTransformArray;
    return *this;
}

ReplayValue& ReplayValue::SetDoubleArray(const Array<double>& values)
{
    Reset();
    m_doubleArray = values;
    m_kind = ReplayValueKindDoubleArray;
    return *this;
}

ReplayValue& ReplayValue::SetDoubleTriple(const double* values)
{
    Reset();
    for (int i = 0; i < 3 && values != nullptr; ++i)
        m_scalar.m_matrix[0][i] = values[i];
    m_kind = ReplayValueKindDoubleTriple;
    return *this;
}

ReplayValue& ReplayValue::SetTransform(const double (*matrix)[4])
{
    Reset();
    if (matrix != nullptr)
        std::memcpy(m_scalar.m_matrix, matrix, sizeof m_scalar.m_matrix);
    m_kind = ReplayValueKindTransform;
    return *this;
}

ReplayValue& ReplayValue::SetString(const char* text)
{
    Reset();
    if (text != nullptr)
        m_string = text;
    m_kind = ReplayValueKindString;
    return *this;
}

ReplayValue& ReplayValue::SetPosition(const Position& position)
{
    Reset();
    m_position = position;
    m_kind = ReplayValueKindPosition;
    return *this;
}

ReplayValue& ReplayValue::SetPositionArray(const Array<Position>& positions)
{
    Reset();
    m_positionArray = positions;
    m_kind = ReplayValueKindPositionArray;
    return *this;
}

ReplayValueKind ReplayValue::CheckType(ReplayValueKind kind) const
{
    if (m_kind != kind)
        throw std::invalid_argument(s_notExpectedType);
    return m_kind;
}

int ReplayValue::GetInt() { return GetIntRef(); }

int& ReplayValue::GetIntRef()
{
    CheckType(ReplayValueKindInt);
    return m_scalar.m_int;
}

int* ReplayValue::GetIntPointer() { return m_isNull ? nullptr : &GetIntRef(); }

ResultType* ReplayValue::GetResultTypePointer()
{
    if (m_isNull)
        return nullptr;
    CheckType(ReplayValueKindInt);
    // ResultType has int as its underlying type; the call's result is stored straight into
    // the value's own integer.
    static_assert(sizeof(ResultType) == sizeof(int), "ResultType travels as an int");
    return reinterpret_cast<ResultType*>(&m_scalar.m_int);
}

double ReplayValue::GetDouble() { return GetDoubleRef(); }

double& ReplayValue::GetDoubleRef()
{
    CheckType(ReplayValueKindDouble);
    return m_scalar.m_matrix[0][0];
}

double* ReplayValue::GetDoublePointer()
{
    if (m_isNull)
        return nullptr;
    if (m_kind != ReplayValueKindDoubleTriple && m_kind != ReplayValueKindDouble)
        throw std::invalid_argument(s_notDoublePointer);
    return &m_scalar.m_matrix[0][0];
}

bool ReplayValue::GetBool() { return GetBoolRef(); }

bool& ReplayValue::GetBoolRef()
{
    CheckType(ReplayValueKindBool);
    return m_scalar.m_bool;
}

bool* ReplayValue::GetBoolPointer() { return m_isNull ? nullptr : &GetBoolRef(); }

Array<int>& ReplayValue::GetTagArray()
{
    CheckType(ReplayValueKindTagArray);
    return m_tagArray;
}

Array<int>* ReplayValue::GetTagArrayPointer() { return m_isNull ? nullptr : &GetTagArray(); }

Array<Array<int>>& ReplayValue::GetTagArrayArray()
{
    CheckType(ReplayValueKindTagArrayArray);
    return m_tagArrayArray;
}

Array<Double4x4>& ReplayValue::GetTransformArray()
{
    CheckType(ReplayValueKindTransformArray);
    return m_transformArray;
}

Array<double>& ReplayValue::GetDoubleArray()
{
    CheckType(ReplayValueKindDoubleArray);
    return m_doubleArray;
}

double (*ReplayValue::GetTransform())[4]
{
    // A matrix passed as null is recorded as null and handed on as null.
    if (m_isNull)
        return nullptr;
    CheckType(ReplayValueKindTransform);
    return m_scalar.m_matrix;
}

const char* ReplayValue::GetString()
{
    if (m_isNull)
        return nullptr;
    CheckType(ReplayValueKindString);
    return m_string.c_str();
}

Array<Position>& ReplayValue::GetPositionArray()
{
    CheckType(ReplayValueKindPositionArray);
    return m_positionArray;
}

bool AreTagListsEqualIgnoringOrder(const std::vector<int>& a, const std::vector<int>& b)
{
    if (a.size() != b.size())
        return false;
    std::vector<int> left(a), right(b);
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    return left == right;
}

bool operator==(const ReplayValue& a, const ReplayValue& b)
{
    if (a.m_kind != b.m_kind || a.m_direction != b.m_direction)
        return false;
    if (std::memcmp(&a.m_scalar, &b.m_scalar, sizeof a.m_scalar) == 0 &&
        a.m_tagArray == b.m_tagArray && a.m_doubleArray == b.m_doubleArray &&
        a.m_string == b.m_string && a.m_transformArray == b.m_transformArray &&
        a.m_tagArrayArray == b.m_tagArrayArray && a.m_positionArray == b.m_positionArray &&
        a.m_position == b.m_position)
        return true;
    const double* left = a.GetScalarDoubles();
    const double* right = b.GetScalarDoubles();
    switch (a.m_kind) {
        case ReplayValueKindDouble:
            return IsEqualWithinTolerance(left[0], right[0]);
        case ReplayValueKindDoubleTriple:
            return IsEqualWithinTolerance(left[0], right[0]) &&
                   IsEqualWithinTolerance(left[1], right[1]) &&
                   IsEqualWithinTolerance(left[2], right[2]);
        case ReplayValueKindTransform:
            return Xform(a.m_scalar.m_matrix).IsEqual(Xform(b.m_scalar.m_matrix));
        case ReplayValueKindTagArray:
            return AreTagListsEqualIgnoringOrder(GetArrayVector(a.m_tagArray),
                                                 GetArrayVector(b.m_tagArray));
        default:
            return false;
    }
}

}  // namespace QEL
