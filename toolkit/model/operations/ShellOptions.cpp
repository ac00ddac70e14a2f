#include "model/operations/ShellOptions.h"

#include "core/enums/EnumNames.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/Tolerance.h"
#include "core/objects/EntityCasts.h"
#include "core/persist/ObjectReaders.h"

#include <algorithm>

namespace QEL {

ShellOptions::ShellOptions(Interaction* interaction) : OptionObject(interaction)
{
    std::memset(&m_block, 0, sizeof m_block);
    m_block.version = 1;
    m_block.local_face_type = HXR_LOCAL_FACES_none;
}

void ShellOptions::DescribeListsInBlock()
{
    m_block.n_pierce_faces = static_cast<int>(m_pierceFaces.size());
    m_block.pierce_faces = ListData(m_pierceFaces);
    m_block.n_offset_out_faces = static_cast<int>(m_offsetOutFaces.size());
    m_block.offset_out_faces = ListData(m_offsetOutFaces);
    m_block.offset_out_values = ListData(m_offsetOutValues);
    m_block.n_offset_in_faces = static_cast<int>(m_offsetInFaces.size());
    m_block.offset_in_faces = ListData(m_offsetInFaces);
    m_block.offset_in_values = ListData(m_offsetInValues);
    m_block.n_local_faces = static_cast<int>(m_localFaces.size());
    m_block.local_faces = ListData(m_localFaces);
}

void ShellOptions::SetType(ShellType type) { SetRecorded(m_shellType, static_cast<int>(type)); }

void ShellOptions::SetPierceFaces(const std::vector<int>& faces)
{
    SetRecorded(m_pierceFaces, faces);
    DescribeListsInBlock();
}

void ShellOptions::SetLocalFaces(const std::vector<int>& faces, ShellLocalFaceType type)
{
    const bool kept = type != ShellLocalFaceTypeNone && !faces.empty();
    const std::vector<int> local = kept ? faces : std::vector<int>();
    int token = HXR_LOCAL_FACES_none;
    if (kept)
        token = type == ShellLocalFaceTypeExclude ? HXR_LOCAL_FACES_exclude : HXR_LOCAL_FACES_add;
    if (local == m_localFaces && token == m_block.local_face_type)
        return;
    RecordModified();
    m_localFaces = local;
    m_block.local_face_type = token;
    DescribeListsInBlock();
}

bool ShellOptions::SetOffsetFaces(std::vector<int>& faces, std::vector<double>& values,
                                  const std::vector<int>& newFaces,
                                  const std::vector<double>& newValues)
{
    const std::vector<double> kept = OneValuePerEntity(newValues, newFaces.size());
    if (faces != newFaces || values != kept) {
        RecordModified();
        faces = newFaces;
        values = kept;
        DescribeListsInBlock();
    }
    return true;
}

bool ShellOptions::SetOffsetInFaces(const std::vector<int>& faces,
                                    const std::vector<double>& values)
{
    return SetOffsetFaces(m_offsetInFaces, m_offsetInValues, faces, values);
}

bool ShellOptions::SetOffsetOutFaces(const std::vector<int>& faces,
                                     const std::vector<double>& values)
{
    return SetOffsetFaces(m_offsetOutFaces, m_offsetOutValues, faces, values);
}

void ShellOptions::CopySettings(const ShellOptions& from)
{
    m_shellType = from.m_shellType;
    m_pierceFaces = from.m_pierceFaces;
    m_localFaces = from.m_localFaces;
    m_offsetInFaces = from.m_offsetInFaces;
    m_offsetInValues = from.m_offsetInValues;
    m_offsetOutFaces = from.m_offsetOutFaces;
    m_offsetOutValues = from.m_offsetOutValues;
    m_block.local_face_type = from.m_block.local_face_type;
    DescribeListsInBlock();
}

namespace {

bool SameValues(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), IsEqualWithinTolerance);
}

// The values of the faces that still exist, the ones a save writes.
std::vector<double> LiveFaceValues(const std::vector<int>& faces, const std::vector<double>& values)
{
    std::vector<double> live;
    for (std::size_t i = 0; i < faces.size() && i < values.size(); ++i)
        if (IsEntity(faces[i]))
            live.push_back(values[i]);
    return live;
}

}  // namespace

bool ShellOptions::HasSameSettings(const ShellOptions& other) const
{
    // Counts and values only: the faces are kernel tags that differ between interactions.
    // Faces that no longer exist are not counted, as a save leaves them out with their values.
    return m_shellType == other.m_shellType &&
           m_block.local_face_type == other.m_block.local_face_type &&
           LiveEntityCount(m_localFaces) == LiveEntityCount(other.m_localFaces) &&
           LiveEntityCount(m_pierceFaces) == LiveEntityCount(other.m_pierceFaces) &&
           SameValues(LiveFaceValues(m_offsetInFaces, m_offsetInValues),
                      LiveFaceValues(other.m_offsetInFaces, other.m_offsetInValues)) &&
           SameValues(LiveFaceValues(m_offsetOutFaces, m_offsetOutValues),
                      LiveFaceValues(other.m_offsetOutFaces, other.m_offsetOutValues));
}

bool ShellOptions::DoIOOffsetFaces(XMLIO& xmlio, const char* name, std::vector<int>& faces,
                                   std::vector<double>& values)
{
    const std::size_t count = ChildListLength(xmlio, name, faces.size());
    if (xmlio.IsReading()) {
        faces.assign(count, 0);
        values.assign(count, 0.0);
    }
    return DoIOChildList(
        xmlio, name, count, SkipRemoved(faces),
        [&](std::size_t i) {
            if (!DoIOKernelEntity(xmlio, faces[i], nullptr, "id", "class", "bodyId"))
                return false;
            // A value of 0 is left out and reads back as 0.
            return (!xmlio.IsReading() && values[i] == 0.0) || xmlio.DoIO("offsetValue", values[i]);
        });
}

bool ShellOptions::DoIOSettings(XMLIO& xmlio)
{
    std::vector<int> pierce = m_pierceFaces;
    std::vector<int> local = m_localFaces;
    std::vector<int> offsetIn = m_offsetInFaces;
    std::vector<double> offsetInValues = m_offsetInValues;
    std::vector<int> offsetOut = m_offsetOutFaces;
    std::vector<double> offsetOutValues = m_offsetOutValues;
    ShellLocalFaceType localType = ShellLocalFaceTypeNone;
    if (m_block.local_face_type == HXR_LOCAL_FACES_exclude)
        localType = ShellLocalFaceTypeExclude;
    else if (m_block.local_face_type == HXR_LOCAL_FACES_add)
        localType = ShellLocalFaceTypeAdd;

    bool done =
        DoIOEnumSetting(xmlio, "shellType", m_shellType, ShellTypeToString, ShellTypeFromString) &&
        DoIOKernelEntities(xmlio, "PierceFace", pierce);
    // Without local faces there is no type to tell; reading then finds the parser's none.
    if (done && (xmlio.IsReading() || !m_localFaces.empty()))
        done = xmlio.DoIOEnum("localFaceType", localType, ShellLocalFaceTypeToString,
                              ShellLocalFaceTypeFromString);
    done = done && DoIOKernelEntities(xmlio, "LocalFace", local) &&
           DoIOOffsetFaces(xmlio, "OffsetInFace", offsetIn, offsetInValues) &&
           DoIOOffsetFaces(xmlio, "OffsetOutFace", offsetOut, offsetOutValues);
    if (done && xmlio.IsReading()) {
        SetPierceFaces(pierce);
        SetLocalFaces(local, localType);
        SetOffsetInFaces(offsetIn, offsetInValues);
        SetOffsetOutFaces(offsetOut, offsetOutValues);
    }
    return done;
}

QEL_INSTALL_ENTITY_CASTS(ShellOptions)
QEL_INSTALL_OBJECT_READER(ShellOptions)

}  // namespace QEL
