#include "store/ItemTexts.h"

QString questionnaireTitle() { return QStringLiteral("پرسشنامه سبک هاي دفاعي"); }

QStringList itemTexts() {
    return {
        // 1 pseudo-altruism
        QStringLiteral("آنقدر به نيازهاي ديگران مي رسم که نيازهاي خودم را فراموش مي کنم."),
        // 2 suppression
        QStringLiteral("وقتي مسئله اي ذهنم را مشغول مي کند، مي توانم آن را تا زمان مناسب کنار بگذارم."),
        // 3 sublimation
        QStringLiteral("وقتي ناراحتم، انرژي ام را صرف کاري سازنده مثل ورزش يا هنر مي کنم."),
        // 4 rationalization
        QStringLiteral("براي هر کاري که مي کنم، حتي وقتي نتيجه بدي دارد، دليل قانع کننده اي پيدا مي کنم."),
        // 5 humour
        QStringLiteral("وقتي کارها خراب مي شود، مي توانم به خودم بخندم."),
        // 6 projection
        QStringLiteral("اغلب اين ديگران هستند که از من عصباني اند، نه من از آنها."),
        // 7 reaction formation
        QStringLiteral("وقتي از کسي بدم مي آيد، با او بيش از حد مهربان رفتار مي کنم."),
        // 8 denial
        QStringLiteral("وقتي با حقيقتي ناخوشايند روبرو مي شوم، طوري رفتار مي کنم که انگار وجود ندارد."),
        // 9 omnipotence
        QStringLiteral("احساس مي کنم از پس هر کاري برمي آيم و به کمک کسي نياز ندارم."),
        // 10 devaluation
        QStringLiteral("خيلي زود عيب هاي ديگران را مي بينم و آنها در نظرم بي ارزش مي شوند."),
        // 11 acting out
        QStringLiteral("وقتي تحت فشارم، بي آنکه فکر کنم کاري عجولانه انجام مي دهم."),
        // 12 somatization
        QStringLiteral("وقتي تحت فشار روحي هستم، دچار سردرد يا دل درد مي شوم."),
        // 13 devaluation
        QStringLiteral("کساني را که روزي تحسين مي کردم، بعدها بي ارزش مي بينم."),
        // 14 autistic fantasy
        QStringLiteral("وقتي مشکلي دارم، در روياهاي روزانه ام فرو مي روم."),
        // 15 omnipotence
        QStringLiteral("من آدم ويژه اي هستم و معمولا همه چيز مطابق خواست من پيش مي رود."),
        // 16 rationalization
        QStringLiteral("براي اشتباهاتم هميشه توضيحي منطقي دارم."),
        // 17 autistic fantasy
        QStringLiteral("از خيال پردازي بيشتر از زندگي واقعي لذت مي برم."),
        // 18 denial
        QStringLiteral("باور نمي کنم که مشکلي جدي داشته باشم، حتي اگر ديگران بگويند."),
        // 19 splitting
        QStringLiteral("آدمها در نظر من يا کاملا خوب هستند يا کاملا بد."),
        // 20 acting out
        QStringLiteral("براي خالي کردن خشمم کارهايي مي کنم که بعدا پشيمان مي شوم."),
        // 21 intellectualization
        QStringLiteral("ترجيح مي دهم احساساتم را تحليل کنم تا اينکه آنها را تجربه کنم."),
        // 22 splitting
        QStringLiteral("اگر کسي يک بار مرا نااميد کند، ديگر هيچ خوبي در او نمي بينم."),
        // 23 passive aggression
        QStringLiteral("وقتي از کسي دلخورم، کاري را که از من خواسته عمدا به تعويق مي اندازم."),
        // 24 intellectualization
        QStringLiteral("در موقعيت هاي دردناک به جاي احساس کردن، به واقعيت ها و دليل ها فکر مي کنم."),
        // 25 suppression
        QStringLiteral("وقتي بايد تمرکز کنم، مي توانم نگراني هايم را موقتا از ذهنم دور کنم."),
        // 26 humour
        QStringLiteral("حتي در موقعيت هاي سخت هم مي توانم جنبه خنده داري پيدا کنم."),
        // 27 somatization
        QStringLiteral("وقتي از نظر عاطفي آشفته ام، بدنم بيمار مي شود."),
        // 28 reaction formation
        QStringLiteral("اگر از کسي خشمگين باشم، به او احترامي بيش از حد نشان مي دهم."),
        // 29 projection
        QStringLiteral("اغلب حس مي کنم ديگران نسبت به من بدخواه هستند."),
        // 30 anticipation
        QStringLiteral("وقتي مي دانم موقعيت سختي در پيش است، از قبل خودم را براي آن آماده مي کنم."),
        // 31 displacement
        QStringLiteral("وقتي از کسي عصباني ام، خشمم را سر کس ديگري خالي مي کنم."),
        // 32 undoing
        QStringLiteral("بعد از اينکه کار بدي مي کنم، کاري انجام مي دهم تا انگار آن کار اتفاق نيفتاده باشد."),
        // 33 displacement
        QStringLiteral("وقتي در محل کار ناراحت مي شوم، در خانه بهانه گير مي شوم."),
        // 34 isolation
        QStringLiteral("مي توانم از رويدادهاي دردناک حرف بزنم بي آنکه چيزي احساس کنم."),
        // 35 anticipation
        QStringLiteral("به مشکلاتي که ممکن است پيش بيايد از قبل فکر مي کنم و براي آنها برنامه مي ريزم."),
        // 36 passive aggression
        QStringLiteral("وقتي با کسي مخالفم، به زبان نمي آورم اما با او همکاري هم نمي کنم."),
        // 37 isolation
        QStringLiteral("در موقعيت هايي که ديگران ناراحت مي شوند، من اغلب هيچ احساسي ندارم."),
        // 38 sublimation
        QStringLiteral("بي قراري و خشمم را به کار، مطالعه يا فعاليتي خلاق تبديل مي کنم."),
        // 39 pseudo-altruism
        QStringLiteral("از اينکه به خاطر ديگران از خواسته هاي خودم بگذرم احساس رضايت مي کنم."),
        // 40 undoing
        QStringLiteral("وقتي فکري ناخوشايند به ذهنم مي رسد، کاري مي کنم که اثر آن را خنثي کند."),
    };
}
