// The circular, rectangular and user-defined face patterns: creation, their defining
// references, relative transforms, validity, comparison and file form.
#include "model/patterns/FacePattern.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/Position.h"
#include "core/maths/Tolerance.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Interaction.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/XMLIO.h"
#include "model/references/Reference.h"

#include <cmath>

namespace QEL {

namespace {

const double s_fullTurn = 6.283185307179586;
const int s_userDefinedReserve = 10;

QEL_INSTALL_OBJECT_READER(CircularFacePattern)
QEL_INSTALL_OBJECT_READER(RectangularFacePattern)
QEL_INSTALL_OBJECT_READER(UserDefinedFacePattern)

bool AreReferencesEqual(Reference* a, Reference* b)
{
    if (!a || !b)
        return !a && !b;
    return UpcastEntity(a)->Compare(UpcastEntity(b));
}

// The direction of a reference's line; false without a reference.
bool GetLineDirection(Reference* reference, Position* location, Dir* direction)
{
    if (!reference)
        return false;
    Position at;
    Position axis;
    GetStandardGeometry(reference->GetEntityTag(), nullptr, nullptr, &at, &axis, nullptr, nullptr,
                        nullptr);
    if (location)
        *location = at;
    if (direction)
        *direction = Dir(axis.x, axis.y, axis.z, true);
    return true;
}

// A pointer that is no reference, for the validity tests' spoilt patterns.
Reference* Spoiler(Interaction* interaction) { return reinterpret_cast<Reference*>(interaction); }

template <typename T>
T* FinishCreate(T* pattern)
{
    pattern->AddToInteraction();
    return pattern;
}

template <typename T>
T* ReadPattern(T* pattern, XMLIO& xmlio)
{
    if (!pattern->DoIO(xmlio)) {
        pattern->Destroy();
        return nullptr;
    }
    return pattern;
}

}  // namespace

// ---- Circular ------------------------------------------------------------------------------

CircularFacePattern::CircularFacePattern(Interaction* interaction)
    : SavedObject(interaction, ObjectTypeCircularFacePattern)
{
}

CircularFacePattern* CircularFacePattern::Make(Interaction* interaction,
                                               std::vector<Reference*>& first, int count,
                                               double spacing, bool closed, Reference* axis)
{
    CircularFacePattern* pattern = FinishCreate(new CircularFacePattern(interaction));
    pattern->m_Occurrences.reserve(count > 0 ? count : 0);
    pattern->m_Occurrences.resize(count > 0 ? count : 0);
    pattern->m_Spacing = spacing;
    pattern->m_IsClosed = closed;
    pattern->m_AxisRef = axis;
    pattern->Link(axis);
    pattern->SetOccurrence(first, 0);
    return pattern;
}

CircularFacePattern* CircularFacePattern::CreateOpen(Interaction* interaction,
                                                     std::vector<Reference*>& first, int count,
                                                     double spacing, Reference* axis)
{
    return Make(interaction, first, count, spacing, false, axis);
}

CircularFacePattern* CircularFacePattern::CreateClosed(Interaction* interaction,
                                                       std::vector<Reference*>& first, int count,
                                                       Reference* axis)
{
    return Make(interaction, first, count, count >= 2 ? s_fullTurn / count : 0.0, true, axis);
}

CircularFacePattern* CircularFacePattern::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    return ReadPattern(FinishCreate(new CircularFacePattern(interaction)), xmlio);
}

CircularFacePattern* CircularFacePattern::CreateInvalid(Interaction* interaction, int kind)
{
    if (kind != 0 && kind != 1)
        return nullptr;
    CircularFacePattern* pattern = FinishCreate(new CircularFacePattern(interaction));
    if (kind == 0) {
        pattern->m_Occurrences.push_back({nullptr, Spoiler(interaction)});
    } else {
        pattern->m_Occurrences.push_back({nullptr});
        pattern->m_AxisRef = Spoiler(interaction);
    }
    return pattern;
}

void CircularFacePattern::DestroyInvalid() { TaggedEntity::Destroy(); }

bool CircularFacePattern::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                                        std::vector<InvalidityType>& codes)
{
    return CheckPatternValidity(ObjectTypeCircularFacePattern, badObjects, codes);
}

void CircularFacePattern::CopyState(const CircularFacePattern& from)
{
    m_Spacing = from.m_Spacing;
    m_IsClosed = from.m_IsClosed;
    m_AxisRef = from.m_AxisRef;
}

void CircularFacePattern::Destroy() { DestroyPattern(); }

bool CircularFacePattern::Compare(TaggedEntity* other)
{
    CircularFacePattern* pattern = dynamic_cast<CircularFacePattern*>(other);
    return TaggedEntity::Compare(other) && pattern &&
           GetOccurrenceCount() == pattern->GetOccurrenceCount() &&
           IsEqualWithinTolerance(m_Spacing, pattern->m_Spacing) &&
           m_IsClosed == pattern->m_IsClosed && AreReferencesEqual(m_AxisRef, pattern->m_AxisRef) &&
           AreOccurrencesEqual(pattern);
}

void CircularFacePattern::RemoveReference(Reference* reference)
{
    FacePattern::RemoveReference(reference);
    if (!reference || reference != m_AxisRef)
        return;
    RecordModified();
    Unlink(m_AxisRef);
    m_AxisRef = nullptr;
    if (!m_Occurrences.empty())
        KeepOccurrences({0});
    m_Spacing = 0.0;
}

void CircularFacePattern::GetDefiningReferences(std::vector<Reference*>& out)
{
    if (m_AxisRef)
        out.push_back(m_AxisRef);
}

bool CircularFacePattern::GetRelativeTransform(int from, int to, Xform& out)
{
    Position location;
    Dir direction;
    if (!IsOccurrenceIndex(from) || !IsOccurrenceIndex(to) || !GetAxis(&location, &direction))
        return false;
    const double angle = (to - from) * m_Spacing;
    out.SetRotationAboutAxis(Vec(location.x, location.y, location.z), direction, std::sin(angle),
                             std::cos(angle));
    return true;
}

bool CircularFacePattern::SetOccurrence(std::vector<Reference*>& references, int index)
{
    if (!IsOccurrenceIndex(index))
        return false;
    RecordModified();
    ReplaceOccurrence(index, references);
    return true;
}

bool CircularFacePattern::SetSpacing(double spacing)
{
    if (!m_AxisRef)
        return false;
    RecordModified();
    m_Spacing = spacing;
    return true;
}

bool CircularFacePattern::GetAxis(Position* location, Dir* direction) const
{
    return GetLineDirection(m_AxisRef, location, direction);
}

bool CircularFacePattern::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement(s_className))
        return false;
    const bool reading = xmlio.IsReading();
    int count = GetOccurrenceCount();
    bool done = DoIOID(xmlio) && xmlio.DoIO("occurrenceCount", count) &&
                xmlio.DoIO("spacing", m_Spacing, 16) && xmlio.DoIO("isClosed", m_IsClosed) &&
                (!reading || IsReadCountSane(xmlio, count, 0)) &&
                DoIODefiningReference(xmlio, "axisRef", m_AxisRef, count) &&
                xmlio.DoIO("rigidOccurrences", m_RigidOccurrences);
    if (done && reading)
        m_Occurrences.resize(count);
    for (int i = 0; done && i < count; ++i) {
        done = xmlio.BeginElement("Occurrence");
        int index = i;
        std::vector<Reference*> references = reading ? std::vector<Reference*>() : m_Occurrences[i];
        done = done && xmlio.DoIO("index", index) && DoIOOccurrenceReferences(xmlio, references);
        if (done && reading)
            SetOccurrence(references, i);
        xmlio.EndElement(true);
    }
    xmlio.EndElement(true);
    return done;
}

// ---- Rectangular ---------------------------------------------------------------------------

RectangularFacePattern::RectangularFacePattern(Interaction* interaction)
    : SavedObject(interaction, ObjectTypeRectangularFacePattern)
{
    m_Occurrences.resize(1);
}

RectangularFacePattern* RectangularFacePattern::Create(Interaction* interaction,
                                                       std::vector<Reference*>& first, int xCount,
                                                       int yCount, double xSpacing, double ySpacing,
                                                       Reference* xDir, Reference* yDir)
{
    RectangularFacePattern* pattern = FinishCreate(new RectangularFacePattern(interaction));
    pattern->m_XCount = xCount < 1 ? 1 : xCount;
    pattern->m_YCount = yCount < 1 ? 1 : yCount;
    pattern->m_XSpacing = xCount < 1 ? 0.0 : xSpacing;
    pattern->m_YSpacing = yCount < 1 ? 0.0 : ySpacing;
    const size_t cells =
        static_cast<size_t>(pattern->m_XCount) * static_cast<size_t>(pattern->m_YCount);
    pattern->m_Occurrences.reserve(cells);
    pattern->m_Occurrences.assign(cells, FacePatternOccurrence());
    pattern->m_XDirRef = xDir;
    pattern->m_YDirRef = yDir;
    pattern->Link(xDir);
    pattern->Link(yDir);
    pattern->SetOccurrence(first, 0, 0);
    return pattern;
}

RectangularFacePattern* RectangularFacePattern::CreateFromXML(Interaction* interaction,
                                                              XMLIO& xmlio)
{
    return ReadPattern(FinishCreate(new RectangularFacePattern(interaction)), xmlio);
}

RectangularFacePattern* RectangularFacePattern::CreateInvalid(Interaction* interaction, int kind)
{
    if (kind < 0 || kind > 2)
        return nullptr;
    RectangularFacePattern* pattern = FinishCreate(new RectangularFacePattern(interaction));
    if (kind == 0) {
        pattern->m_Occurrences.push_back({nullptr, Spoiler(interaction)});
        return pattern;
    }
    pattern->m_Occurrences.push_back({nullptr});
    (kind == 1 ? pattern->m_XDirRef : pattern->m_YDirRef) = Spoiler(interaction);
    return pattern;
}

void RectangularFacePattern::DestroyInvalid() { TaggedEntity::Destroy(); }

bool RectangularFacePattern::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                                           std::vector<InvalidityType>& codes)
{
    return CheckPatternValidity(ObjectTypeRectangularFacePattern, badObjects, codes);
}

void RectangularFacePattern::CopyState(const RectangularFacePattern& from)
{
    m_XCount = from.m_XCount;
    m_YCount = from.m_YCount;
    m_XSpacing = from.m_XSpacing;
    m_YSpacing = from.m_YSpacing;
    m_XDirRef = from.m_XDirRef;
    m_YDirRef = from.m_YDirRef;
}

void RectangularFacePattern::Destroy() { DestroyPattern(); }

bool RectangularFacePattern::Compare(TaggedEntity* other)
{
    RectangularFacePattern* pattern = dynamic_cast<RectangularFacePattern*>(other);
    return TaggedEntity::Compare(other) && pattern && m_XCount == pattern->m_XCount &&
           m_YCount == pattern->m_YCount &&
           IsEqualWithinTolerance(m_XSpacing, pattern->m_XSpacing) &&
           IsEqualWithinTolerance(m_YSpacing, pattern->m_YSpacing) &&
           AreReferencesEqual(m_XDirRef, pattern->m_XDirRef) &&
           AreReferencesEqual(m_YDirRef, pattern->m_YDirRef) && AreOccurrencesEqual(pattern);
}

void RectangularFacePattern::RemoveReference(Reference* reference)
{
    FacePattern::RemoveReference(reference);
    if (!reference || (reference != m_XDirRef && reference != m_YDirRef))
        return;
    RecordModified();
    if (reference == m_XDirRef) {
        Unlink(m_XDirRef);
        m_XDirRef = nullptr;
        std::vector<int> column;
        for (int y = 0; y < m_YCount; ++y)
            column.push_back(m_XCount * y);
        KeepOccurrences(column);
        m_XCount = 1;
        m_XSpacing = 0.0;
    }
    if (reference == m_YDirRef) {
        Unlink(m_YDirRef);
        m_YDirRef = nullptr;
        std::vector<int> row;
        for (int x = 0; x < m_XCount; ++x)
            row.push_back(x);
        KeepOccurrences(row);
        m_YCount = 1;
        m_YSpacing = 0.0;
    }
}

void RectangularFacePattern::GetDefiningReferences(std::vector<Reference*>& out)
{
    if (m_XDirRef)
        out.push_back(m_XDirRef);
    if (m_YDirRef)
        out.push_back(m_YDirRef);
}

bool RectangularFacePattern::GetRelativeTransform(int from, int to, Xform& out)
{
    if (!IsOccurrenceIndex(from) || !IsOccurrenceIndex(to))
        return false;
    const int dx = to % m_XCount - from % m_XCount;
    const int dy = to / m_XCount - from / m_XCount;
    Dir xDir(0.0, 0.0, 0.0, true);
    Dir yDir(0.0, 0.0, 0.0, true);
    GetXDir(xDir);
    GetYDir(yDir);
    out.SetToTranslation(xDir * (dx * m_XSpacing) + yDir * (dy * m_YSpacing));
    return true;
}

int RectangularFacePattern::GetOccurrenceNum(int x, int y) const
{
    if (x < 0 || x >= m_XCount || y < 0 || y >= m_YCount)
        return -1;
    return m_XCount * y + x;
}

bool RectangularFacePattern::SetOccurrence(std::vector<Reference*>& references, int x, int y)
{
    const int index = GetOccurrenceNum(x, y);
    if (!IsOccurrenceIndex(index))
        return false;
    RecordModified();
    ReplaceOccurrence(index, references);
    return true;
}

bool RectangularFacePattern::SetXSpacing(double spacing)
{
    if (!m_XDirRef)
        return false;
    RecordModified();
    m_XSpacing = spacing;
    return true;
}

bool RectangularFacePattern::SetYSpacing(double spacing)
{
    if (!m_YDirRef)
        return false;
    RecordModified();
    m_YSpacing = spacing;
    return true;
}

bool RectangularFacePattern::GetXDir(Dir& direction) const
{
    return GetLineDirection(m_XDirRef, nullptr, &direction);
}

bool RectangularFacePattern::GetYDir(Dir& direction) const
{
    return GetLineDirection(m_YDirRef, nullptr, &direction);
}

bool RectangularFacePattern::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement(s_className))
        return false;
    const bool reading = xmlio.IsReading();
    bool done = DoIOID(xmlio) && xmlio.DoIO("xCount", m_XCount) && xmlio.DoIO("yCount", m_YCount) &&
                xmlio.DoIO("xSpacing", m_XSpacing, 16) && xmlio.DoIO("ySpacing", m_YSpacing, 16);
    const long long cells = static_cast<long long>(m_XCount) * m_YCount;
    done = done &&
           (!reading || (m_XCount >= 1 && m_YCount >= 1 && IsReadCountSane(xmlio, cells, 1))) &&
           DoIODefiningReference(xmlio, "xDirRef", m_XDirRef, m_XCount) &&
           DoIODefiningReference(xmlio, "yDirRef", m_YDirRef, m_YCount) &&
           xmlio.DoIO("rigidOccurrences", m_RigidOccurrences);
    if (done && reading)
        m_Occurrences.assign(static_cast<size_t>(cells), FacePatternOccurrence());
    for (int y = 0; done && y < m_YCount; ++y) {
        for (int x = 0; done && x < m_XCount; ++x) {
            done = xmlio.BeginElement("Occurrence");
            int xIndex = x;
            int yIndex = y;
            std::vector<Reference*> references =
                reading ? std::vector<Reference*>() : m_Occurrences[GetOccurrenceNum(x, y)];
            done = done && xmlio.DoIO("xIndex", xIndex) && xmlio.DoIO("yIndex", yIndex) &&
                   DoIOOccurrenceReferences(xmlio, references);
            // A cell outside the grid is a broken file, not a cell to skip.
            if (done && reading)
                done = SetOccurrence(references, xIndex, yIndex);
            xmlio.EndElement(true);
        }
    }
    xmlio.EndElement(true);
    return done;
}

// ---- User-defined --------------------------------------------------------------------------

UserDefinedFacePattern::UserDefinedFacePattern(Interaction* interaction)
    : SavedObject(interaction, ObjectTypeUserDefinedFacePattern)
{
    m_Occurrences.reserve(s_userDefinedReserve);
    m_OccurrenceXforms.reserve(s_userDefinedReserve);
}

UserDefinedFacePattern* UserDefinedFacePattern::Create(Interaction* interaction,
                                                       std::vector<Reference*>& first)
{
    UserDefinedFacePattern* pattern = FinishCreate(new UserDefinedFacePattern(interaction));
    pattern->AddOccurrence(first, GetIdentityXform());
    return pattern;
}

UserDefinedFacePattern* UserDefinedFacePattern::CreateFromXML(Interaction* interaction,
                                                              XMLIO& xmlio)
{
    return ReadPattern(FinishCreate(new UserDefinedFacePattern(interaction)), xmlio);
}

UserDefinedFacePattern* UserDefinedFacePattern::CreateInvalid(Interaction* interaction)
{
    UserDefinedFacePattern* pattern = FinishCreate(new UserDefinedFacePattern(interaction));
    pattern->m_Occurrences.push_back({nullptr, Spoiler(interaction)});
    pattern->m_OccurrenceXforms.push_back(Xform());
    return pattern;
}

void UserDefinedFacePattern::DestroyInvalid() { TaggedEntity::Destroy(); }

bool UserDefinedFacePattern::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                                           std::vector<InvalidityType>& codes)
{
    return CheckPatternValidity(ObjectTypeUserDefinedFacePattern, badObjects, codes);
}

void UserDefinedFacePattern::Destroy() { DestroyPattern(); }

bool UserDefinedFacePattern::Compare(TaggedEntity* other)
{
    UserDefinedFacePattern* pattern = dynamic_cast<UserDefinedFacePattern*>(other);
    if (!TaggedEntity::Compare(other) || !pattern || !AreOccurrencesEqual(pattern) ||
        m_OccurrenceXforms.size() != pattern->m_OccurrenceXforms.size())
        return false;
    for (size_t i = 0; i < m_OccurrenceXforms.size(); ++i)
        if (!AreXformsEqual(m_OccurrenceXforms[i], pattern->m_OccurrenceXforms[i]))
            return false;
    return true;
}

bool UserDefinedFacePattern::ClearOccurrence(int index)
{
    return FacePattern::ClearOccurrence(index) && DivorceOccurrence(index) == ResultTypeOk;
}

bool UserDefinedFacePattern::GetRelativeTransform(int from, int to, Xform& out)
{
    if (!IsOccurrenceIndex(from) || !IsOccurrenceIndex(to) ||
        m_OccurrenceXforms.size() != m_Occurrences.size())
        return false;
    out = MultiplyXforms(m_OccurrenceXforms[to], m_OccurrenceXforms[from].GetInverse());
    return true;
}

bool UserDefinedFacePattern::AddOccurrence(std::vector<Reference*>& references, const Xform& xform)
{
    if (m_Occurrences.size() != m_OccurrenceXforms.size())
        return false;
    if (!m_Occurrences.empty() && references.size() != m_Occurrences[0].size())
        return false;
    RecordModified();
    m_Occurrences.push_back(references);
    m_OccurrenceXforms.push_back(xform);
    LinkOccurrence(references);
    return true;
}

const FacePatternOccurrence* UserDefinedFacePattern::GetOccurrenceRefs(int index) const
{
    return IsOccurrenceIndex(index) ? &m_Occurrences[index] : nullptr;
}

const Xform* UserDefinedFacePattern::GetOccurrenceXform(int index) const
{
    return IsOccurrenceIndex(index) && index < static_cast<int>(m_OccurrenceXforms.size())
               ? &m_OccurrenceXforms[index]
               : nullptr;
}

void UserDefinedFacePattern::SetOccurrenceXform(int index, const Xform& xform)
{
    if (!IsOccurrenceIndex(index) || index >= static_cast<int>(m_OccurrenceXforms.size()))
        return;
    RecordModified();
    m_OccurrenceXforms[index] = xform;
}

ResultType UserDefinedFacePattern::DivorceOccurrence(int index)
{
    if (!IsOccurrenceIndex(index) || index >= static_cast<int>(m_OccurrenceXforms.size()))
        return ResultTypeBadArgument;
    RecordModified();
    if (index == 0 && GetOccurrenceCount() >= 2) {
        const Xform toOld = m_OccurrenceXforms[1].GetInverse();
        m_OccurrenceXforms[1].SetIdentity();
        for (size_t k = 2; k < m_OccurrenceXforms.size(); ++k)
            m_OccurrenceXforms[k] = MultiplyXforms(m_OccurrenceXforms[k], toOld);
    }
    UnlinkOccurrence(m_Occurrences[index]);
    m_Occurrences.erase(m_Occurrences.begin() + index);
    m_OccurrenceXforms.erase(m_OccurrenceXforms.begin() + index);
    return ResultTypeOk;
}

bool UserDefinedFacePattern::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement(s_className))
        return false;
    const bool reading = xmlio.IsReading();
    int count = GetOccurrenceCount();
    bool done = DoIOID(xmlio) && xmlio.DoIO("occcurrenceCount", count) &&
                xmlio.DoIO("rigidOccurrences", m_RigidOccurrences) &&
                (!reading || IsReadCountSane(xmlio, count, 0));
    std::vector<FacePatternOccurrence> occurrences;
    std::vector<Xform> xforms;
    for (int i = 0; done && i < count; ++i) {
        done = xmlio.BeginElement("Occurrence");
        std::vector<Reference*> references = reading ? std::vector<Reference*>() : m_Occurrences[i];
        Xform xform = !reading && i < static_cast<int>(m_OccurrenceXforms.size())
                          ? m_OccurrenceXforms[i]
                          : Xform();
        done = done && DoIOOccurrenceReferences(xmlio, references);
        if (done && (!reading || xmlio.GetChildElementCount("Transform") > 0))
            done = xmlio.DoIO(xform, true);
        xmlio.EndElement(true);
        occurrences.push_back(references);
        xforms.push_back(xform);
    }
    if (done && reading) {
        for (const FacePatternOccurrence& occurrence : occurrences)
            done = done && occurrence.size() == occurrences[0].size();
        for (size_t i = 0; done && i < occurrences.size(); ++i)
            done = AddOccurrence(occurrences[i], xforms[i]);
    }
    xmlio.EndElement(true);
    return done;
}

}  // namespace QEL
