package app;

public class Main {
    public static void main(String[] args) {
        Record.call("main", Main.class, args);
    }

    public static void secondaryMain(String[] args) {
        Record.call("secondaryMain", Main.class, args);
    }
}
