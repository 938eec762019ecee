// The Qt models over the outline: every change reaches them in the form Qt's own model
// checker accepts, and the item list keeps its order and its filter as the outline changes.

#include "gui/mainwindow/ContentsListModel.h"
#include "gui/mainwindow/OutlineTreeModel.h"

#include "core/model/attachment_objects.h"
#include "core/model/contact_holder_objects.h"
#include "core/model/item_factory.h"
#include "core/model/outline.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace quill;
using namespace quill::gui;

namespace {

TOutlineNode* Node(int kind, std::string_view title, TOutlineNode* parent) {
    return CreateItem(kind, title, "", "", 1, "", parent)->Node();
}

TNRBObject* Child(int kind, std::string_view title, TOutlineNode* holder) {
    return CreateItem(kind, title, "t", "c", 1, "", holder);
}

QStringList Titles(const ContentsListModel& model) {
    QStringList titles;
    for (int row = 0; row < model.rowCount(); ++row) {
        titles << model.index(row, 0).data().toString();
    }
    return titles;
}

} // namespace

class OutlineModelsTest : public QObject {
    Q_OBJECT

private slots:
    void TreeFollowsEveryChangeOfTheOutline() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        OutlineTreeModel model(outline);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);

        TOutlineNode* family = Node(kFolderKind, "Family", root);
        TOutlineNode* work = Node(kFolderKind, "Work", root);
        TOutlineNode* ann = Node(kPersonKind, "Ann", family);
        Node(kWebsiteKind, "Site", ann);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.rowCount(model.IndexOf(root)), 2);
        QCOMPARE(model.parent(model.IndexOf(ann)), model.IndexOf(family));
        QCOMPARE(model.IndexOf(ann).data().toString(), QStringLiteral("Ann"));

        QPersistentModelIndex kept(model.IndexOf(ann));
        QVERIFY(outline.MoveNode(ann, work, 0));
        QCOMPARE(kept.parent(), model.IndexOf(work));
        QVERIFY(outline.MoveNode(work, root, 0));
        QCOMPARE(model.index(0, 0, model.IndexOf(root)).data().toString(), QStringLiteral("Work"));

        // Renaming sorts the siblings; persistent indexes follow their nodes.
        QPersistentModelIndex familyIndex(model.IndexOf(family));
        family->Item()->SetTitle("Aunts");
        QCOMPARE(familyIndex.row(), 0);
        QCOMPARE(familyIndex.data().toString(), QStringLiteral("Aunts"));

        // The due bullet reaches the view as a change of the node.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        auto* reminder =
            static_cast<TReminderObject*>(CreateItem(kReminderKind, "r", "", "", 1, "", ann));
        reminder->SetDue(true);
        QVERIFY(changed.count() >= 1);
        QCOMPARE(model.IndexOf(ann).data(OutlineTreeModel::StateIndexRole).toInt(), kDueStateImage);

        outline.DeleteNode(work);
        QVERIFY(!kept.isValid());
        QCOMPARE(model.rowCount(model.IndexOf(root)), 1);
        outline.DeleteChildrenOf(root);
        QCOMPARE(model.rowCount(model.IndexOf(root)), 0);
    }

    void TreeFollowsManyNodesMovedAtOnce() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        OutlineTreeModel model(outline);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        TOutlineNode* from = Node(kFolderKind, "From", root);
        TOutlineNode* to = Node(kFolderKind, "To", root);
        Node(kPersonKind, "Already there", to);
        std::vector<TOutlineNode*> moving;
        for (int i = 0; i < 50; ++i) {
            TOutlineNode* person = Node(kPersonKind, "p" + std::to_string(i), from);
            if (i % 3 != 1) {
                moving.push_back(person);
            }
        }
        Node(kWebsiteKind, "Site", moving[7]);
        QPersistentModelIndex followed(model.IndexOf(moving[7]));
        QPersistentModelIndex stayed(model.IndexOf(from->ChildAt(1)));

        QCOMPARE(outline.MoveNodesToEnd(moving, to), moving.size());
        QCOMPARE(model.rowCount(model.IndexOf(from)), 50 - static_cast<int>(moving.size()));
        QCOMPARE(model.rowCount(model.IndexOf(to)), 1 + static_cast<int>(moving.size()));
        for (std::size_t i = 0; i < moving.size(); ++i) {
            const QModelIndex index = model.index(static_cast<int>(i) + 1, 0, model.IndexOf(to));
            QCOMPARE(OutlineTreeModel::NodeAt(index), moving[i]);
        }
        QCOMPARE(OutlineTreeModel::NodeAt(followed), moving[7]);
        QCOMPARE(model.rowCount(followed), 1);
        QCOMPARE(stayed.data().toString(), QStringLiteral("p1"));
        QCOMPARE(stayed.row(), 0);
    }

    void TreeStaysCorrectWithAHundredThousandNodes() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        OutlineTreeModel model(outline);
        for (int f = 0; f < 100; ++f) {
            TOutlineNode* folder = Node(kFolderKind, "folder " + std::to_string(f), root);
            for (int p = 0; p < 1000; ++p) {
                Node(kPersonKind, "person " + std::to_string(999 - p), folder);
            }
        }
        QCOMPARE(outline.NodeCount(), std::size_t{100101});
        const QModelIndex folder = model.index(42, 0, model.IndexOf(root));
        QCOMPARE(model.rowCount(folder), 1000);
        const QModelIndex last = model.index(999, 0, folder);
        QCOMPARE(model.parent(last), folder);
        TOutline::SortChildren(OutlineTreeModel::NodeAt(folder));
        QCOMPARE(model.index(0, 0, folder).data().toString(), QStringLiteral("person 0"));
    }

    void ListShowsChildNodesAndItemsSortedFoldersFirst() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        TOutlineNode* person = Node(kPersonKind, "Ann", root);
        Node(kWebsiteKind, "zeta site", person);
        Node(kFolderKind, "papers", person);
        Child(kPhoneKind, "Mobile", person);
        Child(kAddressKind, "home", person);
        ContentsListModel model(outline);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetNode(person);
        QCOMPARE(Titles(model), (QStringList{"papers", "home", "Mobile", "zeta site"}));
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Target"));
        QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("t"));
        QCOMPARE(model.index(1, 0).data(ContentsListModel::ImageIndexRole).toInt(),
                 int{kAddressKind});

        // Entries come and go one by one, each in its sorted place.
        TNRBObject* fax = Child(kFaxKind, "Fax", person);
        QCOMPARE(Titles(model), (QStringList{"papers", "Fax", "home", "Mobile", "zeta site"}));
        fax->SetTitle("Work fax");
        QCOMPARE(Titles(model), (QStringList{"papers", "home", "Mobile", "Work fax", "zeta site"}));
        person->Item()->RemoveChild(fax);
        QCOMPARE(Titles(model), (QStringList{"papers", "home", "Mobile", "zeta site"}));
        TOutlineNode* site = Node(kWebsiteKind, "another", person);
        QCOMPARE(Titles(model), (QStringList{"papers", "another", "home", "Mobile", "zeta site"}));
        outline.DeleteNode(site);
        QCOMPARE(model.rowCount(), 4);

        // Moving a node in or out of the listed node.
        TOutlineNode* elsewhere = Node(kFolderKind, "elsewhere", root);
        TOutlineNode* papers = person->ChildAt(1);
        QVERIFY(outline.MoveNode(papers, elsewhere, 0));
        QCOMPARE(Titles(model), (QStringList{"home", "Mobile", "zeta site"}));
        QVERIFY(outline.MoveNode(papers, person, 0));
        QCOMPARE(Titles(model).first(), QStringLiteral("papers"));

        // The listed node itself going empties the list.
        outline.DeleteNode(person);
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(model.Node() == nullptr);
    }

    void ListFollowsRunsOfNodesDeletedAtOnce() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        std::vector<TOutlineNode*> going;
        for (const char* title : {"a", "b", "c", "d", "e", "f", "g"}) {
            TOutlineNode* node = Node(kPersonKind, title, root);
            if (std::string_view("bcdf").find(*title) != std::string_view::npos) {
                going.push_back(node);
            }
        }
        ContentsListModel model(outline);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetNode(root);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        outline.DeleteNodes(going);
        QCOMPARE(Titles(model), (QStringList{"a", "e", "g"}));
        QCOMPARE(removed.count(), 2); // b to d, then f
    }

    void RowsShowTheBeginningOfAHugeTextAndEditItWhole() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        // A megabyte of two-byte characters: any cut that splits one would show U+FFFD.
        std::string huge;
        for (int i = 0; i < 1 << 19; ++i) {
            huge += "\xC3\xA9";
        }
        TOutlineNode* folder = Node(kFolderKind, huge, root);
        Child(kPhoneKind, huge, folder);
        OutlineTreeModel tree(outline);
        ContentsListModel list(outline);
        list.SetNode(folder);
        const QString whole = QString::fromUtf8(huge);
        for (const QModelIndex& index : {tree.IndexOf(folder), list.index(0, 0)}) {
            const QString shown = index.data(Qt::DisplayRole).toString();
            QVERIFY(shown.size() < 4096);
            QVERIFY(shown.endsWith(QChar(0x2026)));
            QVERIFY(whole.startsWith(shown.chopped(1)));
            QCOMPARE(index.data(Qt::EditRole).toString(), whole);
        }
    }

    void ListLeavesOutWhatTheFilterHides() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        TOutlineNode* folder = Node(kFolderKind, "f", root);
        TNRBObject* a = Child(kPhoneKind, "a", folder);
        Child(kPhoneKind, "b", folder);
        a->SetCategories(1);
        ContentsListModel model(outline);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetNode(folder);
        model.SetHiddenTest([](const TNRBObject& item) { return item.Categories() == 0; });
        QCOMPARE(Titles(model), (QStringList{"a"}));
        Child(kPhoneKind, "c", folder);
        // A new hidden item stays out.
        QCOMPARE(Titles(model), (QStringList{"a"}));
        a->SetCategories(0);
        QCOMPARE(model.rowCount(), 0);
        folder->Item()->ChildAt(1)->SetCategories(4);
        QCOMPARE(Titles(model), (QStringList{"b"}));
        model.SetHiddenTest({});
        QCOMPARE(model.rowCount(), 3);
    }

    void ListOfTenThousandEntriesTakesInsertsInOrder() {
        TOutline outline;
        TOutlineNode* root = outline.CreateRoot();
        TOutlineNode* folder = Node(kFolderKind, "f", root);
        for (int i = 0; i < 10000; ++i) {
            Child(kPhoneKind, "phone " + std::to_string((i * 7919) % 10000), folder);
        }
        ContentsListModel model(outline);
        model.SetNode(folder);
        QCOMPARE(model.rowCount(), 10000);
        for (int row = 1; row < model.rowCount(); ++row) {
            QVERIFY(!ItemSortsBefore(*model.ItemAt(row), *model.ItemAt(row - 1)));
        }
        Child(kPhoneKind, "phone 5000a", folder);
        const int row = model.RowOf(folder->Item()->ChildAt(10000));
        QCOMPARE(model.index(row - 1, 0).data().toString(), QStringLiteral("phone 5000"));
    }
};

QTEST_GUILESS_MAIN(OutlineModelsTest)
#include "OutlineModelsTest.moc"
