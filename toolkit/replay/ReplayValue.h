// One journalled argument or return value of an exported call, as the journal replay
// carries it: a kind saying which member holds the payload, a direction and a null flag.
#pragma once

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"
#include "core/maths/Double4x4.h"
#include "core/maths/Position.h"

#include <string>
#include <vector>

namespace QEL {

enum ReplayValueKind {
    ReplayValueKindNone = 0,
    ReplayValueKindInt = 1,  // ints, tags, enumeration values, kernel class codes, ResultType
    ReplayValueKindDouble = 2,
    ReplayValueKindBool = 3,
    ReplayValueKindTagArray = 4,
    ReplayValueKindTagArrayArray = 5,
    ReplayValueKindTransformArray = 6,
    ReplayValueKindDoubleArray = 7,
    ReplayValueKindDoubleTriple = 8,
    ReplayValueKindTransform = 9,
    ReplayValueKindString = 10,
    ReplayValueKindPosition = 11,
    ReplayValueKindPositionArray = 12
};

enum ReplayDirection {
    ReplayDirectionUnset = 0,
    ReplayDirectionInput = 1,
    ReplayDirectionOutput = 2
};

// Every setter empties the members of all other kinds and zeroes the scalar bytes its
// payload does not cover; the byte-wise comparison of the scalar buffer relies on it.
// References and pointers handed out point into the value itself, so an exported function
// that writes through them fills the replayed value. A value of the wrong kind handed to
// an accessor throws std::invalid_argument.
class QEL_API ReplayValue {
public:
    ReplayValue();
    ReplayValue(const ReplayValue& other);
    ReplayValue& operator=(const ReplayValue& other);
    ~ReplayValue();

    ReplayValueKind GetKind() const { return m_kind; }
    ReplayDirection GetDirection() const { return m_direction; }
    void SetDirection(ReplayDirection direction) { m_direction = direction; }
    bool IsNull() const { return m_isNull; }
    void SetNull(bool isNull) { m_isNull = isNull; }
    void SetKind(ReplayValueKind kind) { m_kind = kind; }

    // Empties the payload; kind, direction and null flag stay.
    void Clear();

    ReplayValue& SetInt(int value);
    ReplayValue& SetDouble(double value);
    ReplayValue& SetBool(bool value);
    ReplayValue& SetTagArray(const Array<int>& tags);
    ReplayValue& SetTagArrayArray(const Array<Array<int>>& tagArrays);
    ReplayValue& SetTransformArray(const Array<Double4x4>& transforms);
    ReplayValue& SetDoubleArray(const Array<double>& values);
    ReplayValue& SetDoubleTriple(const double* values);
    ReplayValue& SetTransform(const double (*matrix)[4]);
    ReplayValue& SetString(const char* text);
    ReplayValue& SetPosition(const Position& position);
    ReplayValue& SetPositionArray(const Array<Position>& positions);

    // The kind when it is the expected one; otherwise throws "Replay argument not expected type".
    ReplayValueKind CheckType(ReplayValueKind kind) const;

    // Value and reference accessors check the kind and ignore the null flag. Pointer
    // accessors give null for a value recorded as null, before the kind is checked.
    int GetInt();
    int& GetIntRef();
    int* GetIntPointer();
    ResultType* GetResultTypePointer();
    double GetDouble();
    double& GetDoubleRef();
    // Kind 8 or 2; any other kind throws "Expected double* replay argument".
    double* GetDoublePointer();
    bool GetBool();
    bool& GetBoolRef();
    bool* GetBoolPointer();
    Array<int>& GetTagArray();
    Array<int>* GetTagArrayPointer();
    Array<Array<int>>& GetTagArrayArray();
    Array<Double4x4>& GetTransformArray();
    Array<double>& GetDoubleArray();
    // The 16 doubles as four rows of four; null for a value recorded as null.
    double (*GetTransform())[4];
    const char* GetString();
    Array<Position>& GetPositionArray();

    // Read-only views for comparisons and diagnostics.
    const double* GetScalarDoubles() const { return &m_scalar.m_matrix[0][0]; }
    const Position& GetPosition() const { return m_position; }

    friend QEL_API bool operator==(const ReplayValue& a, const ReplayValue& b);

private:
    // Starts a setter: no payload, kind 0, direction unset, not null.
    void Reset();

    union Scalar {
        int m_int;
        bool m_bool;
        double m_matrix[4][4];
        unsigned char m_bytes[128];
    };
    static_assert(sizeof(Scalar) == 128, "the scalar payload is 128 bytes");

    ReplayValueKind m_kind;
    ReplayDirection m_direction;
    bool m_isNull;
    Scalar m_scalar;
    std::string m_string;
    Array<int> m_tagArray;
    Array<double> m_doubleArray;
    Array<Array<int>> m_tagArrayArray;
    Array<Double4x4> m_transformArray;
    Array<Position> m_positionArray;
    Position m_position;
};

// Kinds and directions must match; then equal payloads, or for doubles, triples and
// transforms equality within the tolerances, and for tag arrays the same tags in any order.
// The null flag is not compared.
QEL_API bool operator==(const ReplayValue& a, const ReplayValue& b);
inline bool operator!=(const ReplayValue& a, const ReplayValue& b) { return !(a == b); }

// The same numbers the same number of times, in any order.
QEL_API bool AreTagListsEqualIgnoringOrder(const std::vector<int>& a, const std::vector<int>& b);

}  // namespace QEL
