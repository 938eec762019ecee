// The item list as the list view reads it: each entry found by its item among thousands,
// with ties and after renames, and the list left alone by changes elsewhere in the outline.

#include "gui/mainwindow/ContentsListModel.h"

#include "core/model/item_factory.h"
#include "core/model/item_kind.h"
#include "core/model/nrb_object.h"
#include "core/model/outline.h"

#include <QSignalSpy>
#include <QtTest>

#include <string>
#include <vector>

using namespace quill;
using quill::gui::ContentsListModel;

class ContentsListModelTest : public QObject {
    Q_OBJECT

private:
    TOutline outline_;
    TOutlineNode* root_ = outline_.CreateRoot();

    TNRBObject* Make(int kind, const std::string& title, TOutlineNode* parent) {
        return CreateItem(kind, title, "", "", 7, "", parent);
    }

private slots:
    void everyEntryIsFoundByItsItem() {
        TNRBObject* folder = Make(kFolderKind, "Many", root_);
        QVERIFY(folder && folder->Node());
        // Ties of every sort: equal titles, titles equal but for case, folders among persons.
        for (int i = 0; i < 600; ++i) {
            const std::string title = i % 3 == 0   ? "Smith"
                                      : i % 3 == 1 ? "smith " + std::to_string(i % 40)
                                                   : "Person " + std::to_string(i);
            QVERIFY(Make(i % 50 == 0 ? kFolderKind : kPersonKind, title, folder->Node()));
        }
        QVERIFY(Make(kPhoneKind, "Smith", folder->Node())); // a sub-item of the folder itself
        ContentsListModel list(outline_);
        list.SetNode(folder->Node());
        QCOMPARE(list.rowCount(), 601);
        for (int row = 0; row < list.rowCount(); ++row) {
            QCOMPARE(list.RowOf(list.ItemAt(row)), row);
        }
        QCOMPARE(list.RowOf(nullptr), -1);
        QCOMPARE(list.RowOf(folder), -1); // the listed node's own item is not an entry
    }

    void aRenamedEntryIsFoundAtItsNewPlace() {
        TNRBObject* folder = Make(kFolderKind, "Renames", root_);
        QVERIFY(folder && folder->Node());
        std::vector<TNRBObject*> persons;
        for (int i = 0; i < 200; ++i) {
            persons.push_back(Make(kPersonKind, "M " + std::to_string(1000 + i), folder->Node()));
            QVERIFY(persons.back());
        }
        ContentsListModel list(outline_);
        list.SetNode(folder->Node());
        persons[5]->SetTitle("zz last");
        persons[150]->SetTitle("aa first");
        QCOMPARE(list.RowOf(persons[5]), list.rowCount() - 1);
        QCOMPARE(list.RowOf(persons[150]), 0);
        for (int row = 0; row < list.rowCount(); ++row) {
            QCOMPARE(list.RowOf(list.ItemAt(row)), row);
        }
    }

    void changesElsewhereLeaveTheListAlone() {
        TNRBObject* listed = Make(kFolderKind, "Listed", root_);
        TNRBObject* other = Make(kFolderKind, "Other", root_);
        QVERIFY(listed && other);
        TNRBObject* person = Make(kPersonKind, "Ann", listed->Node());
        TNRBObject* stranger = Make(kPersonKind, "Bob", other->Node());
        QVERIFY(person && stranger);
        TNRBObject* phone = Make(kPhoneKind, "Home", person->Node()); // below an entry
        QVERIFY(phone);
        ContentsListModel list(outline_);
        list.SetNode(listed->Node());
        QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
        QSignalSpy moved(&list, &QAbstractItemModel::rowsMoved);
        stranger->SetTitle("Aaron");
        phone->SetTitle("Work");
        QCOMPARE(changed.count(), 0);
        QCOMPARE(moved.count(), 0);
        QCOMPARE(list.RowOf(stranger), -1);
        QCOMPARE(list.RowOf(phone), -1);
        QCOMPARE(list.RowOf(person), 0);
    }

    // An import brings thousands of records into the listed node, each made as "New" and
    // then renamed: followed one by one, every rename looked through the whole list. Bulk
    // work makes no row-by-row change; the list is filled once at its end, in order.
    void bulkWorkFillsTheListOnceAtItsEnd() {
        TNRBObject* folder = Make(kFolderKind, "Imported", root_);
        QVERIFY(folder && folder->Node());
        QVERIFY(Make(kPersonKind, "Already here", folder->Node()));
        ContentsListModel list(outline_);
        list.SetNode(folder->Node());
        QCOMPARE(list.rowCount(), 1);
        QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
        outline_.BeginUpdate();
        for (int i = 0; i < 3000; ++i) {
            TNRBObject* made = Make(kPersonKind, "New", folder->Node());
            QVERIFY(made);
            made->SetTitle("Person " + std::to_string(2999 - i));
            if (i % 1000 == 0) {
                outline_.DeleteNode(made->Node()); // a refused record
            }
        }
        QCOMPARE(list.rowCount(), 0); // nothing listed that could go stale meanwhile
        outline_.EndUpdate();
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(reset.count(), 2); // emptied at the start, filled at the end
        QCOMPARE(list.rowCount(), 2998);
        for (int row = 0; row + 1 < list.rowCount(); ++row) {
            QVERIFY(ItemSortsBefore(*list.ItemAt(row), *list.ItemAt(row + 1)) ||
                    !ItemSortsBefore(*list.ItemAt(row + 1), *list.ItemAt(row)));
            QCOMPARE(list.RowOf(list.ItemAt(row)), row);
        }
        // Followed one by one again afterwards.
        QVERIFY(Make(kPersonKind, "Zed", folder->Node()));
        QCOMPARE(list.rowCount(), 2999);
        QCOMPARE(inserted.count(), 1);
    }

    void theListedNodeDeletedDuringBulkWorkLeavesAnEmptyList() {
        TNRBObject* folder = Make(kFolderKind, "Going", root_);
        QVERIFY(folder && folder->Node());
        QVERIFY(Make(kPersonKind, "Ann", folder->Node()));
        ContentsListModel list(outline_);
        list.SetNode(folder->Node());
        outline_.BeginUpdate();
        outline_.DeleteNode(folder->Node());
        outline_.EndUpdate();
        QCOMPARE(list.Node(), nullptr);
        QCOMPARE(list.rowCount(), 0);
    }
};

QTEST_MAIN(ContentsListModelTest)
#include "ContentsListModelTest.moc"
