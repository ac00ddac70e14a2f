#pragma once
// The options of hollowing a body: the shell type, the faces left open (pierce faces), the
// local faces with the add-on's local-face token, and the faces offset inwards and outwards
// with one value each. The hollow block handed to the add-on always describes this object's
// own lists (counts and pointers), so it stays valid until a list is next set or the object
// goes.

#include "model/operations/OptionObject.h"

#include <hxr.h>

namespace QEL {

class QEL_API ShellOptions : public OptionObject<ShellOptions, ObjectTypeShellOptions> {
public:
    static constexpr const char* s_className = "ShellOptions";
    explicit ShellOptions(Interaction* interaction);

    // Every setter records the object for rollback before a change.
    void SetType(ShellType type);
    // An empty list leaves no pierce faces.
    void SetPierceFaces(const std::vector<int>& faces);
    // Local faces are kept only for a non-empty list with a type other than none: token
    // exclude for ShellLocalFaceTypeExclude, add for any other type; else none are kept.
    void SetLocalFaces(const std::vector<int>& faces, ShellLocalFaceType type);
    // One value per face: the add-on reads them index for index, so the values are kept as
    // long as the faces whatever number was given (see OneValuePerEntity). An empty face list
    // removes the faces and their values whatever values come with it. Always true.
    bool SetOffsetInFaces(const std::vector<int>& faces, const std::vector<double>& values);
    bool SetOffsetOutFaces(const std::vector<int>& faces, const std::vector<double>& values);

    // Any number an application passed; the operation refuses one outside the shell types.
    int GetType() const { return m_shellType; }
    const HXR_BODY_hollow_o_s& GetOptionBlock() const { return m_block; }

private:
    void CopySettings(const ShellOptions& from);
    bool HasSameSettings(const ShellOptions& other) const;
    bool DoIOSettings(XMLIO& xmlio);
    // Counts and pointers of the block from the lists; the token is kept.
    void DescribeListsInBlock();
    bool SetOffsetFaces(std::vector<int>& faces, std::vector<double>& values,
                        const std::vector<int>& newFaces, const std::vector<double>& newValues);
    bool DoIOOffsetFaces(XMLIO& xmlio, const char* name, std::vector<int>& faces,
                         std::vector<double>& values);

    int m_shellType = ShellTypeInwards;
    std::vector<int> m_pierceFaces;
    std::vector<int> m_localFaces;
    std::vector<int> m_offsetInFaces;
    std::vector<double> m_offsetInValues;
    std::vector<int> m_offsetOutFaces;
    std::vector<double> m_offsetOutValues;
    HXR_BODY_hollow_o_s m_block;

    friend class OptionObject<ShellOptions, ObjectTypeShellOptions>;
};

}  // namespace QEL
