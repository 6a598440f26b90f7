#pragma once
// Random edits of every kind on every list of a document, through the record path: inserts,
// removals (templates in use among them, which are refused), replacements, loads and emptying.

#include "document/binfile.h"

#include <random>

class CRandomEdits {
public:
    explicit CRandomEdits(unsigned seed) : m_random(seed) { }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    void Apply(CBINFile& doc)
    {
        const int templates = doc.TemplateCount();
        const int t = Pick(0, std::max(templates - 1, 0));
        switch (Pick(0, 12)) {
        case 0: {
            std::vector<CPopTemplate> added(static_cast<size_t>(Pick(1, 2)));
            for (CPopTemplate& tmpl : added)
                tmpl.Objects.resize(static_cast<size_t>(Pick(0, 2)), CThreeDObject{Coordinate(), 0, 0, -2});
            doc.InsertRows(Pick(0, templates), std::move(added));
            break;
        }
        case 1: doc.RemoveRows<CPopTemplate>(Pick(0, templates), Pick(1, 2)); break;
        case 2: doc.ReplaceRow(t, CPopTemplate{Pick(0, 40), -2, -1, -2, 0, {}}); break;
        case 3:
            doc.InsertRows(Pick(0, doc.ObjectCount(t)), std::vector{CThreeDObject{Coordinate(), 1, 2, -1}}, t);
            break;
        case 4: doc.RemoveRows<CThreeDObject>(Pick(0, doc.ObjectCount(t)), Pick(1, 2), t); break;
        case 5: doc.ReplaceRow(Pick(0, doc.ObjectCount(t)), CThreeDObject{Coordinate(), 5, 5, -2}, t); break;
        case 6:
            doc.InsertRows(Pick(0, doc.KeysiteCount()),
                           std::vector{CKeysitePlacement{Pick(-1, templates - 1), Coordinate(), Coordinate()}});
            break;
        case 7: doc.RemoveRows<CKeysitePlacement>(Pick(0, doc.KeysiteCount()), Pick(1, 3)); break;
        case 8:
            doc.ReplaceRow(Pick(0, doc.KeysiteCount()), CKeysitePlacement{Pick(-1, templates - 1), Coordinate(), 0});
            break;
        case 9:
            doc.InsertRows(Pick(0, doc.SamCount()), std::vector<CSAMPlacement>(size_t(Pick(1, 2)), {Coordinate(), 0}));
            break;
        case 10: doc.RemoveRows<CSAMPlacement>(Pick(0, doc.SamCount()), Pick(1, 2)); break;
        case 11:
            doc.InsertRows(Pick(0, doc.AirbaseCount()), std::vector{CAirbasePlacement{Coordinate(), 0, -1}});
            break;
        case 12:
            if (Pick(0, 20) == 0) // now and then the whole document at once
                Pick(0, 1) ? doc.LoadBytes(doc.SaveBytes(true)) : doc.Clear();
            else
                doc.RemoveRows<CAirbasePlacement>(Pick(0, doc.AirbaseCount()), 1);
            break;
        }
    }

private:
    float Coordinate() { return float(Pick(-1000, 1000)) / 4.0f; }

    std::mt19937 m_random;
};
